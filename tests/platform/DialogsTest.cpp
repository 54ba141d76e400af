#include "platform/FileDialog.h"
#include "platform/MessageBox.h"

#include "TestSupport.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <cstring>

using namespace platform;

namespace {

// Runs act on the next modal window once the event loop shows it.
template <typename Window, typename Act>
void OnNextModal(Act act)
{
    QTimer::singleShot(0, [act] {
        auto* w = qobject_cast<Window*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        act(w);
    });
}

TEST(MessageBox, HandlerSeesTheCallAndAnswersIt)
{
    QWidget owner;
    struct Call {
        HWND owner;
        std::string text, caption;
        UINT type;
    } seen{};
    auto guard = qxtest::Guard(SetMessageBoxHandler, MessageBoxHandler([&](HWND o, const std::string& t,
                                                                           const std::string& c, UINT f) {
        seen = {o, t, c, f};
        return IDNO;
    }));
    EXPECT_EQ(MessageBoxA(&owner, "Stop now?", "Confirm", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(seen.owner, &owner);
    EXPECT_EQ(seen.text, "Stop now?");
    EXPECT_EQ(seen.caption, "Confirm");
    EXPECT_EQ(seen.type, MB_YESNO | MB_ICONQUESTION);
    MessageBoxA(nullptr, nullptr, nullptr, MB_OK);
    EXPECT_EQ(seen.caption, "Error");
    EXPECT_EQ(seen.text, "");
}

TEST(MessageBox, QtBoxShowsIconAndButtonsAndMapsTheAnswer)
{
    struct Case {
        UINT type;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton press;  // NoButton: press Escape
        int result;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONERROR, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok, IDOK},
        {MB_OK | MB_ICONINFORMATION, QMessageBox::Information, QMessageBox::Ok, QMessageBox::NoButton, IDOK},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, IDYES},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, IDNO},
        {MB_YESNO, QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton, IDNO},
    };
    for (const Case& c : cases) {
        OnNextModal<QMessageBox>([c](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "Caption");
            EXPECT_EQ(box->text(), "Text");
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->standardButtons(), c.buttons);
            if (c.press == QMessageBox::NoButton)
                box->escapeButton()->click();
            else
                box->button(c.press)->click();
        });
        EXPECT_EQ(MessageBoxA(nullptr, "Text", "Caption", c.type), c.result) << c.type;
    }
}

constexpr char kSourceFilters[] =
    "Windows Video Files (*.wmv, *.avi, *.mpg, *.mpeg)\0*.wmv;*.avi;*.mpg;*.mpeg\0"
    "VCD File (*.dat)\0*.dat\0"
    "DVD File (*.VOB)\0*.VOB\0"
    "All Files(*.*)\0*.*\0";

struct Answering {
    std::optional<FileDialogAnswer> answer;
    FileDialogRequest seen;
    FileDialogHandler Handler()
    {
        return [this](const FileDialogRequest& r) {
            seen = r;
            return answer;
        };
    }
};

TEST(FileDialog, RequestCarriesTheCallersChoices)
{
    qxtest::ScratchDir dir;
    const std::string chosen = dir.Path("clip.VOB");
    qxtest::WriteFile(chosen, "x");
    Answering a;
    a.answer = FileDialogAnswer{chosen, 2};
    auto guard = qxtest::Guard(SetFileDialogHandler, a.Handler());

    char file[259] = "/start/name.avi";
    OPENFILENAMEA ofn;
    ofn.lpstrTitle = "Open Source Video File";
    ofn.lpstrFilter = kSourceFilters;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file, chosen.c_str());
    EXPECT_EQ(ofn.nFilterIndex, 3u);

    EXPECT_FALSE(a.seen.save);
    EXPECT_EQ(a.seen.title, "Open Source Video File");
    EXPECT_EQ(a.seen.initialFile, "/start/name.avi");
    EXPECT_EQ(a.seen.filter, 0);
    EXPECT_EQ(a.seen.flags, 0x1800u);
    ASSERT_EQ(a.seen.filters.size(), 4u);
    EXPECT_EQ(a.seen.filters[3].shown, "All Files(*.*)");
    EXPECT_EQ(a.seen.filters[0].pattern, "*.wmv;*.avi;*.mpg;*.mpeg");
}

TEST(FileDialog, RefusesWhatItCannotReturnWhole)
{
    qxtest::ScratchDir dir;
    Answering a;
    auto guard = qxtest::Guard(SetFileDialogHandler, a.Handler());
    char file[259] = "";
    OPENFILENAMEA ofn;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;

    // Exactly 258 characters fit with the terminator; 259 do not and are not cut.
    const std::string base = dir.Path();
    a.answer = FileDialogAnswer{base + std::string(258 - base.size(), 'a'), 0};
    EXPECT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(std::strlen(file), 258u);
    std::strcpy(file, "keep");
    a.answer = FileDialogAnswer{base + std::string(259 - base.size(), 'a'), 0};
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_STREQ(file, "keep");

    // Existence flags are held even against the answer given.
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    a.answer = FileDialogAnswer{dir.Path("absent.avi"), 0};
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_INVALIDFILENAME);
    ofn.Flags = OFN_PATHMUSTEXIST;
    a.answer = FileDialogAnswer{dir.Path("no/such/dir/x.wmv"), 0};
    EXPECT_FALSE(GetSaveFileNameA(&ofn));

    // A cancel is no error; a starting name without terminator in its buffer is.
    a.answer.reset();
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    std::memset(file, 'x', sizeof file);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_INVALIDFILENAME);
}

TEST(FileDialog, NameFiltersMatchAsThePlatformsDo)
{
    const auto filters = ParseFilterList(kSourceFilters);
    ASSERT_EQ(filters.size(), 4u);
    EXPECT_EQ(QtNameFilter(filters[2]), "DVD File (*.VOB) (*.[vV][oO][bB])");
    EXPECT_EQ(QtNameFilter(filters[3]), "All Files(*.*) (*)");
    const QString wild = QtNameFilter(filters[0]).section(QLatin1String(") ("), 1).chopped(1);
    const auto matches = [&](const QString& name) {
        for (const QString& p : wild.split(' '))
            if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(p)).match(name).hasMatch())
                return true;
        return false;
    };
    EXPECT_TRUE(matches("HOLIDAY.MPG"));
    EXPECT_TRUE(matches("clip.wmv"));
    EXPECT_FALSE(matches("clip.mp4"));
}

TEST(FileDialog, QtDialogIsSetUpFromTheRecord)
{
    qxtest::ScratchDir dir;
    const std::string existing = dir.Path("out.wmv");
    qxtest::WriteFile(existing, "x");
    OnNextModal<QFileDialog>([&](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Choose Output File Name");
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(d->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(d->nameFilters(), QStringList{"Windows Media Video File(*.wmv) (*.[wW][mM][vV])"});
        EXPECT_EQ(d->directory().absolutePath().toStdString() + "/", dir.Path());
        d->selectFile(QString::fromStdString(existing));
        static_cast<QDialog*>(d)->accept();
    });
    char file[259];
    std::strcpy(file, existing.c_str());
    OPENFILENAMEA ofn;
    ofn.lpstrTitle = "Choose Output File Name";
    ofn.lpstrFilter = "Windows Media Video File(*.wmv)\0*.wmv\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_STREQ(file, existing.c_str());
}

}  // namespace
