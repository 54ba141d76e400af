#include "WizardFixture.h"

#include "Media.h"
#include "platform/Shell.h"
#include "platform/media/MediaModule.h"
#include "skin/SuiApplication.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiEdit.h"
#include "skin/controls/TsuiRadioButton.h"

#include <QTest>
#include <gtest/gtest.h>

namespace qxtest {
namespace {

// The program's own set-up, once per test run.
class WizardEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        SuiInstallFontSubstitutes();
        platform::media::RegisterEncoderServer();
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WizardEnvironment);

}  // namespace

std::string WizardSource()
{
    return Media("wizard.vob", "-f lavfi -i testsrc2=size=352x288:rate=25:duration=3 -f lavfi -i sine=duration=3 "
                               "-c:v mpeg2video -b:v 1500k -c:a mp2 -f vob");
}

std::string SoundOnlySource()
{
    return Media("wizard-sound.wav", "-f lavfi -i sine=duration=1");
}

Wizard::Wizard(const std::optional<std::string>& settings) : m_settings(m_dir.Path("norvane.ini"))
{
    if (settings)
        WriteFile(m_settings, *settings);
    m_previousDialog = platform::SetFileDialogHandler([this](const platform::FileDialogRequest& request) {
        dialogs.push_back(request);
        return dialogAnswer;
    });
    m_previousShell = platform::SetShellOpenHandler([this](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    m_main = std::make_unique<TfmMain>(m_settings);
    ShowActive(m_main.get());
}

Wizard::~Wizard()
{
    m_main.reset();
    platform::SetFileDialogHandler(std::move(m_previousDialog));
    platform::SetShellOpenHandler(std::move(m_previousShell));
}

void Wizard::Choose(const std::string& source, const std::string& output, int screen)
{
    Page1().edtFile->setText(QString::fromStdString(source));
    Page1().edtOutput->setText(QString::fromStdString(output));
    (screen == 1 ? Page1().srbtnPPCStd : screen == 2 ? Page1().rbtnPPCWide : Page1().rbtnPPCVGA)->SetChecked(true);
}

void Wizard::Next()
{
    Press(m_main->sbtnNext);
}

bool Wizard::Settled()
{
    return !Page1().Checking() && !Page3().Busy();
}

void Wizard::Press(TsuiButton* button)
{
    button->Click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Settled(); }, 10000)) << "the window's work beside it answers";
}

void Wizard::Prev()
{
    m_main->sbtnPrev->Click();
}

bool Wizard::RunToEnd(int timeoutMs)
{
    Press(Page3().sbtnPause);
    return QTest::qWaitFor(
        [&] { return m_main->CurrentPage() == 3 || Page3().PageState() == TfmStep3::Stopped; }, timeoutMs);
}

bool Wizard::ConvertTo(const std::string& source, const std::string& output, int screen)
{
    Choose(source, output, screen);
    Next();
    Next();
    if (m_main->CurrentPage() != 2)
        return false;
    return RunToEnd() && m_main->CurrentPage() == 3;
}

bool Wizard::Close()
{
    return m_main->close();
}

}  // namespace qxtest
