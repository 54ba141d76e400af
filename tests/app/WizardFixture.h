#pragma once
// The wizard's main window on the offscreen platform, with its own settings file, the
// dialogs, message boxes and the desktop answered by recorders, and the steps a user
// takes, as calls.

#include "app/TfmMain.h"
#include "app/TfmStep1.h"
#include "app/TfmStep2.h"
#include "app/TfmStep3.h"
#include "app/TfmStep4.h"
#include "skin/controls/TsuiButton.h"
#include "platform/FileDialog.h"
#include "platform/Shell.h"

#include "TestSupport.h"
#include "WidgetSupport.h"

#include <QUrl>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qxtest {

// A short DVD-like source with sound, and a sound-only file.
std::string WizardSource();
std::string SoundOnlySource();

class Wizard {
public:
    // settings: the text of the settings file before the start; none without.
    explicit Wizard(const std::optional<std::string>& settings = std::nullopt);
    ~Wizard();

    TfmMain& Main() { return *m_main; }
    TfmStep1& Page1() { return *m_main->fmStep1; }
    TfmStep2& Page2() { return *m_main->fmStep2; }
    TfmStep3& Page3() { return *m_main->fmStep3; }
    TfmStep4& Page4() { return *m_main->fmStep4; }
    const std::string& SettingsPath() const { return m_settings; }
    std::string Path(const std::string& name) const { return m_dir.Path(name); }

    // Page 1's boxes and screen (1 standard, 2 wide, 3 VGA), typed by hand.
    void Choose(const std::string& source, const std::string& output, int screen = 1);
    void Next();
    void Prev();
    // Presses a button and waits for what it set going beside the window (a check of the
    // source, the set-up or the stop of a run) to answer.
    void Press(TsuiButton* button);
    // Nothing is running beside the window.
    bool Settled();
    // From page 1 with the choices to a finished run; false when page 4 never came.
    bool ConvertTo(const std::string& source, const std::string& output, int screen);
    // Presses Start on page 3 and waits until the run is over (page 4, or Stopped).
    bool RunToEnd(int timeoutMs = 60000);
    // Closes the window as its Close button does; true when it closed.
    bool Close();

    MessageBoxRecorder boxes;
    std::vector<platform::FileDialogRequest> dialogs;
    std::optional<platform::FileDialogAnswer> dialogAnswer;  // none: the user cancels
    std::vector<QUrl> opened;

private:
    ScratchDir m_dir;
    std::string m_settings;
    platform::FileDialogHandler m_previousDialog;
    platform::ShellOpenHandler m_previousShell;
    std::unique_ptr<TfmMain> m_main;
};

}  // namespace qxtest
