// The preview player on real files made with the ffmpeg command: URL semantics, the
// picture shown against the playback position, seeking in every source kind the wizard
// offers, bad input, and the transport controls. Sources show one flat colour per
// second, so a grabbed picture tells which second is on screen.
#include "platform/player/TWindowsMediaPlayer.h"
#include "platform/player/TransportBar.h"

#include "Media.h"
#include "TestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <cmath>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using platform::TransportBar;
using Player = platform::TWindowsMediaPlayer;
using State = Player::PlayState;

namespace {

const QColor kColours[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 255, 255)};

struct Container {
    const char* name;
    const char* codecs;
    bool sound;
};

// Keyframes every 12 pictures (0.48 s) do not fall on the colour changes, so a seek that
// showed the keyframe before its target would show the wrong colour. The MPEG streams are
// padded to a constant rate, as on a disc: tiny flat-colour pictures would otherwise share
// one time stamp per pack and leave the file's length to guesswork.
const Container kContainers[] = {
    {"player-colours.mpg", "-c:v mpeg2video -b:v 1500k -minrate 1500k -maxrate 1500k -bufsize 800k -g 12 -f mpeg",
     false},
    {"player-colours.dat",
     "-c:v mpeg1video -b:v 1150k -minrate 1150k -maxrate 1150k -bufsize 320k -g 12 -c:a mp2 -ar 44100 -f mpeg", true},
    {"player-colours.VOB",
     "-c:v mpeg2video -b:v 2M -minrate 2M -maxrate 2M -bufsize 1M -g 12 -c:a ac3 -ar 48000 -f vob", true},
    {"player-colours.avi", "-c:v mpeg4 -q:v 2 -g 12 -c:a libmp3lame -ar 44100", true},
    {"player-colours.wmv", "-c:v wmv2 -b:v 800k -g 12 -c:a wmav2 -f asf", true},
};

// Four seconds: red, green, blue, white; 160 x 120 at 25 pictures a second.
QString Colours(const Container& c)
{
    std::string args;
    for (const char* colour : {"red", "lime", "blue", "white"})
        args += std::string("-f lavfi -i color=c=") + colour + ":s=160x120:r=25:d=1 ";
    if (c.sound)
        args += "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 ";
    args += "-filter_complex [0][1][2][3]concat=n=4[v] -map [v] ";
    if (c.sound)
        args += "-map 4:a ";
    return QString::fromStdString(qxtest::Media(c.name, args + c.codecs));
}

QString ShortClip()
{
    return QString::fromStdString(qxtest::Media(
        "player-short.wmv", "-f lavfi -i color=c=red:s=160x120:r=25:d=0.4 -f lavfi -i sine=duration=0.4 "
                            "-c:v wmv2 -c:a wmav2 -f asf"));
}

QString SoundOnly()
{
    return QString::fromStdString(
        qxtest::Media("player-sound.wma", "-f lavfi -i sine=frequency=500:duration=1.5 -c:a wmav2 -f asf"));
}

bool WaitFor(const std::function<bool()>& done, int ms = 8000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(5);
    }
    return true;
}

bool Showing(const Player& p)
{
    return p.State() == State::Playing && p.FrameTime() >= 0;
}

QColor Average(const QImage& image, QPoint at)
{
    int r = 0, g = 0, b = 0, n = 0;
    for (int y = at.y() - 2; y <= at.y() + 2; ++y)
        for (int x = at.x() - 2; x <= at.x() + 2; ++x) {
            const QColor c = image.pixelColor(x, y);
            r += c.red();
            g += c.green();
            b += c.blue();
            ++n;
        }
    return {r / n, g / n, b / n};
}

QColor CentreColour(Player& p)
{
    return Average(p.grab().toImage(), p.PictureRect().center());
}

bool Near(const QColor& a, const QColor& b)
{
    constexpr int kTolerance = 48;  // the codecs' colour conversion moves flat colours a little
    return std::abs(a.red() - b.red()) <= kTolerance && std::abs(a.green() - b.green()) <= kTolerance
        && std::abs(a.blue() - b.blue()) <= kTolerance;
}

std::string Name(const QColor& c)
{
    return "(" + std::to_string(c.red()) + "," + std::to_string(c.green()) + "," + std::to_string(c.blue()) + ")";
}

// The grabbed video area, and the box around everything in it that is not black.
QRect LitBox(Player& p)
{
    const QImage image = p.grab().toImage();
    const QRect area = p.VideoArea();
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xffffff) != 0)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Descriptors of this process that name the file.
int OpenDescriptors(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    int n = 0;
    for (const QFileInfo& fd : QDir("/proc/self/fd").entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        if (!target.isEmpty() && fd.symLinkTarget() == target)
            ++n;
    return n;
}

int CountEntries(const char* dir)
{
    return int(QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

long ResidentKiB()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Whatever the process writes to standard error while it lives.
class StderrCapture {
public:
    StderrCapture()
    {
        std::fflush(stderr);
        m_saved = ::dup(2);
        const int fd = ::open(m_dir.Path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ::dup2(fd, 2);
        ::close(fd);
    }
    ~StderrCapture() { Take(); }
    std::string Take()
    {
        if (m_saved >= 0) {
            std::fflush(stderr);
            ::dup2(m_saved, 2);
            ::close(m_saved);
            m_saved = -1;
        }
        return qxtest::ReadFile(m_dir.Path("stderr"));
    }

private:
    qxtest::ScratchDir m_dir;
    int m_saved = -1;
};

std::vector<QWidget*> VisibleWindows()
{
    std::vector<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            out.push_back(w);
    return out;
}

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_player.resize(329, 250);
        m_player.show();
        QTest::qWait(1);
    }
    Player m_player;
};

}  // namespace

TEST_F(PlayerTest, UrlPlaysAtOnceReloadsFromTheStartAndEmptyReleasesTheFile)
{
    Player& p = m_player;
    qxtest::ScratchDir dir;
    const QString path = QString::fromStdString(dir.Path("clip ä é #1.mpg"));  // names pass through untouched
    ASSERT_TRUE(QFile::copy(Colours(kContainers[0]), path));
    // Threads Qt starts on first use are there before counting.
    p.setProperty("URL", path);
    ASSERT_TRUE(WaitFor([&] { return Showing(p); }));
    p.setProperty("URL", QString());
    const int threads = CountEntries("/proc/self/task");

    p.setProperty("URL", path);
    EXPECT_EQ(p.property("URL").toString(), path);
    ASSERT_TRUE(WaitFor([&] { return Showing(p); }, 5000)) << "plays at once, without a call to Play";
    EXPECT_TRUE(p.HasVideo());
    EXPECT_FALSE(p.HasAudio());
    EXPECT_GE(OpenDescriptors(path), 1);
    ASSERT_TRUE(WaitFor([&] { return p.CurrentPosition() > 1.3; }, 6000));

    p.setProperty("URL", path);  // the same path: loaded again, from its start
    EXPECT_LT(p.CurrentPosition(), 0.1);
    ASSERT_TRUE(WaitFor([&] { return Showing(p); }, 5000));
    EXPECT_LT(p.FrameTime(), 0.9);
    if (p.CurrentPosition() < 0.7) {
        EXPECT_TRUE(Near(CentreColour(p), kColours[0])) << Name(CentreColour(p));
    }
    EXPECT_EQ(OpenDescriptors(path), 1) << "the first load's descriptor is closed";

    p.setProperty("URL", QString());
    EXPECT_EQ(p.State(), State::Closed);
    EXPECT_EQ(OpenDescriptors(path), 0) << "the empty URL releases the file at once";
    EXPECT_EQ(CountEntries("/proc/self/task"), threads) << "the player's threads have ended";
    EXPECT_TRUE(LitBox(p).isEmpty()) << "the panel is black again";
}

TEST_F(PlayerTest, PictureShownAgreesWithThePlaybackPosition)
{
    Player& p = m_player;
    p.setProperty("URL", Colours(kContainers[4]));  // WMV2 with WMA2, as the wizard writes
    ASSERT_TRUE(WaitFor([&] { return Showing(p); }, 5000));
    QElapsedTimer wall;
    wall.start();
    bool seen[4] = {};
    ASSERT_TRUE(WaitFor(
        [&] {
            const double pos = p.CurrentPosition();
            const int second = int(std::floor(pos));
            const double into = pos - second;
            // Away from the colour changes, the picture on screen is that second's.
            if (second < 4 && into > 0.3 && into < 0.7 && !seen[second]) {
                seen[second] = true;
                const QColor c = CentreColour(p);
                EXPECT_TRUE(Near(c, kColours[second])) << "at " << pos << " s: " << Name(c);
                EXPECT_NEAR(p.FrameTime(), pos, 0.25);
            }
            return p.State() == State::Ended;
        },
        15000));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(seen[i]) << "second " << i << " was never sampled";
    // Real time, give or take a loaded machine: not as fast as it decodes, not stuck.
    EXPECT_GT(wall.elapsed(), 3300);
    EXPECT_LT(wall.elapsed(), 9000);
    EXPECT_NEAR(p.CurrentPosition(), 4.0, 0.15);
    EXPECT_TRUE(Near(CentreColour(p), kColours[3])) << "the last picture stays at the end";
    RecordProperty("sound_device", p.SoundOutputActive() ? "yes" : "no");
}

TEST_F(PlayerTest, SeekLandsOnItsTargetInEverySourceKind)
{
    Player& p = m_player;
    for (const Container& c : kContainers) {
        SCOPED_TRACE(c.name);
        p.setProperty("URL", Colours(c));
        ASSERT_TRUE(WaitFor([&] { return Showing(p); }, 5000));
        EXPECT_NEAR(p.Duration(), 4.0, 0.2);
        p.Pause();
        // Each target lies after a keyframe of the second before it.
        for (const double target : {2.1, 1.1, 3.05, 0.5}) {
            p.Seek(target);
            EXPECT_NEAR(p.CurrentPosition(), target, 0.001);
            EXPECT_TRUE(WaitFor([&] { return p.FrameTime() > target - 0.12 && p.FrameTime() <= target + 0.02; }, 5000))
                << "target " << target << ", picture at " << p.FrameTime();
            const QColor colour = CentreColour(p);
            EXPECT_TRUE(Near(colour, kColours[int(target)])) << "target " << target << ": " << Name(colour);
            EXPECT_EQ(p.State(), State::Paused);
        }
        // While playing, it goes on from the new place.
        p.Play();
        p.Seek(2.5);
        EXPECT_TRUE(WaitFor([&] { return p.FrameTime() >= 2.4 && p.CurrentPosition() > 2.6; }, 5000));
        EXPECT_EQ(p.State(), State::Playing);
        EXPECT_TRUE(Near(CentreColour(p), kColours[2])) << Name(CentreColour(p));
    }
}

TEST_F(PlayerTest, UnplayableInputLeavesThePanelBlackWithoutDialogOrMessage)
{
    Player& p = m_player;
    qxtest::ScratchDir dir;
    std::mt19937 random(6);
    std::string garbage(64 * 1024, '\0');
    for (char& ch : garbage)
        ch = char(random());
    qxtest::WriteFile(dir.Path("garbage.wmv"), garbage);
    qxtest::WriteFile(dir.Path("empty.mpg"), "");
    ::mkfifo(dir.Path("pipe.avi").c_str(), 0600);
    QDir().mkpath(QString::fromStdString(dir.Path("folder.VOB")));
    const QString real = Colours(kContainers[0]);
    const std::vector<std::pair<const char*, QString>> cases = {
        {"missing file", QString::fromStdString(dir.Path("missing.wmv"))},
        {"garbage", QString::fromStdString(dir.Path("garbage.wmv"))},
        {"empty file", QString::fromStdString(dir.Path("empty.mpg"))},
        {"named pipe", QString::fromStdString(dir.Path("pipe.avi"))},  // must not wait for a writer
        {"folder", QString::fromStdString(dir.Path("folder.VOB"))},
        {"protocol syntax", "concat:" + real + "|" + real},  // a path, never an FFmpeg protocol
        {"web address", "http://127.0.0.1:9/clip.wmv"},
    };
    const std::vector<QWidget*> windows = VisibleWindows();
    for (const auto& [what, url] : cases) {
        SCOPED_TRACE(what);
        StderrCapture err;
        p.setProperty("URL", url);
        EXPECT_TRUE(WaitFor([&] { return p.State() == State::Failed; }, 5000)) << int(p.State());
        QTest::qWait(50);
        EXPECT_TRUE(LitBox(p).isEmpty()) << "the panel stays black";
        EXPECT_EQ(VisibleWindows(), windows) << "no dialog";
        EXPECT_EQ(OpenDescriptors(url), 0);
        EXPECT_EQ(err.Take(), "") << "nothing printed";
        p.setProperty("URL", QString());
        EXPECT_EQ(p.State(), State::Closed);
    }
}

TEST_F(PlayerTest, ShortSilentSoundOnlyAndTruncatedFilesPlayToTheirEnd)
{
    Player& p = m_player;
    qxtest::ScratchDir dir;
    const std::string whole = qxtest::ReadFile(Colours(kContainers[4]).toStdString());
    qxtest::WriteFile(dir.Path("cut.wmv"), whole.substr(0, whole.size() * 35 / 100));
    struct Case {
        const char* what;
        QString path;
        bool video, audio;
        double end;  // seconds, where it ends
    };
    const Case cases[] = {
        {"shorter than a second", ShortClip(), true, true, 0.4},
        {"without sound", Colours(kContainers[0]), true, false, 4.0},
        {"without video", SoundOnly(), false, true, 1.5},
        {"cut short", QString::fromStdString(dir.Path("cut.wmv")), true, true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StderrCapture err;
        p.setProperty("URL", c.path);
        ASSERT_TRUE(WaitFor([&] { return p.State() == State::Playing; }, 5000)) << int(p.State());
        EXPECT_EQ(p.HasVideo(), c.video);
        EXPECT_EQ(p.HasAudio(), c.audio);
        if (c.end > 1.0)
            p.Seek(c.end - 0.8);  // no need to watch it all
        EXPECT_TRUE(WaitFor([&] { return p.State() == State::Ended; }, 8000)) << int(p.State());
        if (c.end > 0)
            EXPECT_NEAR(p.CurrentPosition(), c.end, 0.15);
        else
            EXPECT_LT(p.CurrentPosition(), 3.0);
        if (c.video) {
            EXPECT_FALSE(LitBox(p).isEmpty()) << "the last picture stays";
        } else {
            EXPECT_TRUE(LitBox(p).isEmpty()) << "nothing to show: black";
        }
        EXPECT_EQ(err.Take(), "") << "nothing printed";
        // Play after the end starts it over (a file without a known length is loaded again).
        p.Play();
        EXPECT_LT(p.CurrentPosition(), 0.1);
        EXPECT_TRUE(WaitFor([&] { return p.State() == State::Playing; }, 5000)) << int(p.State());
    }
    p.setProperty("URL", QString());
}

TEST_F(PlayerTest, HundredUrlChangesInARowNeitherLeakNorCrash)
{
    Player& p = m_player;
    qxtest::ScratchDir dir;
    qxtest::WriteFile(dir.Path("garbage.avi"), std::string(4096, '\x47'));
    const QStringList urls = {Colours(kContainers[0]), Colours(kContainers[4]), SoundOnly(), ShortClip(),
                              QString::fromStdString(dir.Path("garbage.avi")), Colours(kContainers[2]),
                              QString::fromStdString(dir.Path("missing.mpg")), QString()};
    p.setProperty("URL", urls[1]);
    ASSERT_TRUE(WaitFor([&] { return Showing(p); }));
    p.setProperty("URL", QString());
    QTest::qWait(20);
    const int descriptors = CountEntries("/proc/self/fd");
    const int threads = CountEntries("/proc/self/task");
    const long memory = ResidentKiB();

    for (int i = 0; i < 100; ++i) {
        p.setProperty("URL", urls[(i * 5 + i / 8) % urls.size()]);
        if (i % 4 == 0)
            QTest::qWait(i % 20);  // sometimes while it opens, sometimes while it plays
        else
            QCoreApplication::processEvents();
    }
    p.setProperty("URL", QString());
    QTest::qWait(20);
    EXPECT_EQ(CountEntries("/proc/self/fd"), descriptors);
    EXPECT_EQ(CountEntries("/proc/self/task"), threads);
#ifndef __SANITIZE_ADDRESS__  // its quarantine keeps freed memory resident; it checks leaks itself
    // A decoder, its pictures and the file buffer left behind per file would show here.
    EXPECT_LT(ResidentKiB() - memory, 16 * 1024) << "KiB more after 100 files";
#endif
    for (const QString& url : urls)
        EXPECT_EQ(OpenDescriptors(url), 0) << url.toStdString();

    p.setProperty("URL", urls[0]);
    EXPECT_TRUE(WaitFor([&] { return Showing(p); }, 5000)) << "still plays after all that";
}

TEST_F(PlayerTest, TransportControlsAndContextMenuDriveThePlayer)
{
    Player& p = m_player;
    TransportBar* bar = p.Controls();
    EXPECT_EQ(p.property("uiMode").toString(), "full");
    EXPECT_EQ(p.property("volume").toInt(), 50);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry().bottom(), p.height() - 1) << "controls under the picture";
    EXPECT_EQ(p.VideoArea(), QRect(0, 0, p.width(), p.height() - bar->height()));

    p.setProperty("URL", Colours(kContainers[4]));
    ASSERT_TRUE(WaitFor([&] { return Showing(p); }, 5000));
    const auto click = [&](TransportBar::Part part, double fraction = 0.5) {
        const QRect r = bar->PartRect(part);
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(r.left() + int(fraction * (r.width() - 1)), r.center().y()));
    };
    click(TransportBar::Part::PlayPause);
    EXPECT_EQ(p.State(), State::Paused);
    const double held = p.CurrentPosition();
    QTest::qWait(250);
    EXPECT_EQ(p.CurrentPosition(), held) << "paused means the clock stands";
    click(TransportBar::Part::PlayPause);
    EXPECT_EQ(p.State(), State::Playing);

    click(TransportBar::Part::Seek, 0.75);  // the groove is inset by the knob's radius
    EXPECT_NEAR(p.CurrentPosition(), 3.0, 0.25);
    EXPECT_TRUE(WaitFor([&] { return p.FrameTime() >= 2.7; }, 5000));

    click(TransportBar::Part::Mute);
    EXPECT_TRUE(p.Mute());
    click(TransportBar::Part::Mute);
    EXPECT_FALSE(p.Mute());
    click(TransportBar::Part::Volume, 0.0);
    EXPECT_EQ(p.Volume(), 0);
    const QRect v = bar->PartRect(TransportBar::Part::Volume);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(v.left(), v.center().y()));
    QMouseEvent drag(QEvent::MouseMove, QPointF(v.right() + 20, v.center().y()), bar->mapToGlobal(QPointF(v.right() + 20, v.center().y())),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &drag);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(v.right() + 20, v.center().y()));
    EXPECT_EQ(p.Volume(), 100) << "dragging past the end gives the most";

    click(TransportBar::Part::Stop);
    EXPECT_EQ(p.State(), State::Stopped);
    EXPECT_EQ(p.CurrentPosition(), 0.0);
    QTest::qWait(100);
    EXPECT_TRUE(LitBox(p).isEmpty()) << "stopped: black";

    // The context menu offers play/pause, stop and mute.
    const auto menuAction = [&](const char* name) -> QAction* {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(20, 20), p.mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(&p, &e);
        const QList<QMenu*> menus = p.findChildren<QMenu*>("playerMenu");
        if (menus.isEmpty())
            return nullptr;
        return menus.last()->findChild<QAction*>(name);
    };
    const auto trigger = [&](const char* name) {
        QAction* a = menuAction(name);
        ASSERT_NE(a, nullptr) << name;
        QPointer<QMenu> menu = qobject_cast<QMenu*>(a->parent());
        a->trigger();
        if (menu)
            menu->close();
        QTest::qWait(1);
    };
    QAction* playPause = menuAction("playPause");
    ASSERT_NE(playPause, nullptr);
    EXPECT_EQ(playPause->text(), "&Play");
    trigger("playPause");
    EXPECT_EQ(p.State(), State::Playing);
    EXPECT_EQ(menuAction("playPause")->text(), "&Pause");
    trigger("playPause");
    EXPECT_EQ(p.State(), State::Paused);
    trigger("mute");
    EXPECT_TRUE(p.Mute());
    trigger("stop");
    EXPECT_EQ(p.State(), State::Stopped);

    p.setProperty("uiMode", "none");
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(p.VideoArea(), p.rect());
    p.setProperty("uiMode", "sideways");
    EXPECT_EQ(p.property("uiMode").toString(), "none") << "an unknown mode changes nothing";
}

// Recorded upright, stored on its side with a display matrix, as phones do.
QString PhoneClip()
{
    const std::string flat =
        qxtest::Media("player-phone-flat.mp4", "-f lavfi -i color=c=orange:s=320x240:r=25:d=1 -c:v mpeg4");
    return QString::fromStdString(
        qxtest::Media("player-phone.mp4", qxtest::CopyTurnedQuarterClockwise(flat)));
}

TEST_F(PlayerTest, PictureAtItsDisplaySizeScaledDownNeverUpCentredOnBlack)
{
    Player& p = m_player;
    struct Case {
        const char* what;
        QString path;
        QSize display;
    };
    const Case cases[] = {
        {"square pixels", Colours(kContainers[0]), {160, 120}},
        {"wide DVD pixels", QString::fromStdString(qxtest::Media(
                                "player-wide.VOB", "-f lavfi -i color=c=orange:s=720x576:r=25:d=1 -aspect 16:9 "
                                                   "-c:v mpeg2video -f vob")),
         {1024, 576}},
        {"tall pixels", QString::fromStdString(qxtest::Media(
                            "player-tall.avi", "-f lavfi -i color=c=orange:s=320x240:r=25:d=1 -vf setsar=1/2 "
                                               "-c:v mpeg4")),
         {160, 240}},
        {"a phone clip on its side", PhoneClip(), {240, 320}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const QSize panel : {QSize(329, 250), QSize(1100, 700)}) {
            p.resize(panel);
            p.setProperty("URL", c.path);
            ASSERT_TRUE(WaitFor([&] { return p.FrameTime() >= 0; }, 5000));
            p.Pause();
            EXPECT_EQ(p.VideoSize(), c.display);
            const QRect area = p.VideoArea();
            const double scale = std::min({1.0, double(area.width()) / c.display.width(),
                                           double(area.height()) / c.display.height()});
            const QSize fitted(int(std::lround(c.display.width() * scale)), int(std::lround(c.display.height() * scale)));
            EXPECT_EQ(p.PictureRect().size(), fitted);
            EXPECT_LE(std::abs(p.PictureRect().center().x() - area.center().x()), 1);
            EXPECT_LE(std::abs(p.PictureRect().center().y() - area.center().y()), 1);
            const QRect lit = LitBox(p);
            EXPECT_LE(std::abs(lit.width() - fitted.width()), 1) << lit.width();
            EXPECT_LE(std::abs(lit.height() - fitted.height()), 1) << lit.height();
            EXPECT_LE((lit.center() - p.PictureRect().center()).manhattanLength(), 1);
        }
    }
    p.resize(329, 250);
}
