// Every caption of every window in every look fits the room its control gives it and
// overlaps no neighbour: the designed fixed places hold with the fonts the program uses.
#include "WizardFixture.h"

#include "app/Skins.h"
#include "app/TfmAbout.h"
#include "app/TfmSkin.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiFormMenuBar.h"
#include "skin/controls/SuiControl.h"
#include "skin/controls/TsuiCheckBox.h"
#include "skin/controls/TsuiCustomButton.h"
#include "skin/controls/TsuiGroupBox.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

// The controls that show text, and how much room each needs.
int Needed(const QWidget* w)
{
    if (const auto* button = qobject_cast<const TsuiCustomButton*>(w)) {
        if (button->Caption().trimmed().isEmpty())
            return -1;  // an arrow or a glyph alone
        QFont bold = button->font();
        bold.setBold(true);  // a focused button shows its caption bold in some looks
        return QFontMetrics(bold).horizontalAdvance(SuiStripAccelerator(button->Caption())) + 4;
    }
    if (const auto* box = qobject_cast<const TsuiCheckBox*>(w))
        return box->Picture().width() + 4 + QFontMetrics(box->font()).horizontalAdvance(SuiStripAccelerator(box->Caption()));
    if (const auto* group = qobject_cast<const TsuiGroupBox*>(w))
        return 5 + QFontMetrics(group->font()).horizontalAdvance(group->Caption()) + 6;
    if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->text().isEmpty())
        return QFontMetrics(label->font()).horizontalAdvance(label->text());
    return -1;
}

bool ShowsText(const QWidget* w)
{
    return Needed(w) >= 0;
}

// The check box laid over the restriction group's frame stands out of its parent by design.
bool DrawnOverItsParent(const QWidget* w)
{
    return w->objectName() == "scbxEnable";
}

void CheckWindow(QWidget* window, const std::string& where, std::vector<std::string>& problems)
{
    const auto name = [&](const QWidget* w) {
        return where + "/" + (w->objectName().isEmpty() ? std::string(w->metaObject()->className())
                                                        : w->objectName().toStdString());
    };
    const auto widgets = window->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(window) || !ShowsText(w))
            continue;
        if (Needed(w) > w->width())
            problems.push_back(name(w) + ": needs " + std::to_string(Needed(w)) + " pixels, has " +
                               std::to_string(w->width()));
        if (auto* label = qobject_cast<QLabel*>(w); label && QFontMetrics(label->font()).height() > label->height() + 1)
            problems.push_back(name(w) + ": too low for its font");
        QWidget* parent = w->parentWidget();
        if (!DrawnOverItsParent(w) && !parent->rect().contains(w->geometry()))
            problems.push_back(name(w) + ": cut by its parent");
        for (QObject* o : parent->children()) {
            auto* sibling = qobject_cast<QWidget*>(o);
            if (!sibling || sibling == w || !sibling->isVisibleTo(window) || !ShowsText(sibling) ||
                DrawnOverItsParent(w) || DrawnOverItsParent(sibling))
                continue;
            if (w->geometry().intersects(sibling->geometry()) && w < sibling)
                problems.push_back(name(w) + ": overlaps " + name(sibling));
        }
    }
    if (auto* frame = TsuiForm::Of(window)) {
        if (frame->TitleBar()->ShownCaption() != frame->Caption())
            problems.push_back(where + ": title shortened to " + frame->TitleBar()->ShownCaption().toStdString());
        if (TsuiFormMenuBar* bar = frame->MenuBar(); bar && bar->height() != frame->MenuBarHeight())
            problems.push_back(where + ": menu bar wraps");
    }
}

TEST(Captions, EveryCaptionFitsInEveryWindowAndLook)
{
    std::vector<std::string> problems;
    for (int skinType = 1; skinType <= 5; ++skinType) {
        qxtest::Wizard w("[Quorlantix]\nSkinType=" + std::to_string(skinType) + "\n");
        const std::string look = qxtest::LookName(LookOfSkinType(skinType));
        CheckWindow(&w.Main(), look + "/page1", problems);
        w.Choose(qxtest::WizardSource(), w.Path("out.wmv"));
        w.Next();
        CheckWindow(&w.Main(), look + "/page2", problems);
        w.Next();
        CheckWindow(&w.Main(), look + "/page3", problems);
        for (const TfmStep3::State state : {TfmStep3::Running, TfmStep3::Paused, TfmStep3::Stopped}) {
            w.Page3().m_nState = state;
            w.Page3().m_nDuration = 3599000;
            w.Page3().m_nSize = 2000000000;
            w.Page3().ShowStatus();
            w.Page3().ShowButtons();
            CheckWindow(&w.Main(), look + "/page3-" + std::to_string(state), problems);
        }
        w.Main().ShowFinishedPage();
        CheckWindow(&w.Main(), look + "/page4", problems);
        TfmSkin chooser(&w.Main());
        chooser.show();
        CheckWindow(&chooser, look + "/skins", problems);
        TfmAbout about(&w.Main());
        about.show();
        CheckWindow(&about, look + "/about", problems);
    }
    for (const std::string& p : problems)
        ADD_FAILURE() << p;
}

}  // namespace
