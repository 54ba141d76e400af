#pragma once
// What the review sheets share: letting a window settle, taking it as the screen shows
// it, laying pictures side by side, and saving.

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

class QMenu;
class QWidget;

namespace qxshots {

inline constexpr int kGap = 24;

// Handles the pending events for a while, so that what was changed is painted.
void Settle(int milliseconds = 0);
// The widget in device pixels as the screen shows it: its mask cut out.
QImage Shot(QWidget* widget);
// The window with a menu that dropped down over it.
QImage ShotWithMenu(QWidget* window, QMenu* menu);
// The pictures side by side on the sheet's grey, with gaps round them.
QImage Row(const std::vector<QImage>& images);
// The pictures one under the other.
QImage Column(const std::vector<QImage>& images);
// Saves and names the file on standard output; false (with a message) when it fails.
bool Save(const QImage& image, const QString& path);
// Settles until condition holds or the time is up; whether it holds.
bool WaitFor(const std::function<bool()>& condition, int milliseconds);
// A DVD-like video with sound of that many seconds in dir, made with the ffmpeg command;
// empty (with a message) when it cannot be made.
QString MakeSourceVideo(const QString& dir, int seconds);

}  // namespace qxshots
