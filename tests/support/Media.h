#pragma once
// Media fixtures made with the ffmpeg command into the build tree (once per tree), and
// the checks run on outputs: ffprobe's view of a file and a full decode.

#include <QImage>
#include <QJsonObject>
#include <string>
#include <vector>

namespace qxtest {

// The fixture called name, made with "ffmpeg -y <args> <path>" when it is not there yet.
std::string Media(const std::string& name, const std::string& args);

// ffmpeg arguments that copy the video file at path, marked with a display matrix saying
// "turn a quarter clockwise", as phones store portrait clips. Newer ffmpeg commands take
// a display rotation for it, older ones a rotate tag.
std::string CopyTurnedQuarterClockwise(const std::string& path);

// ffprobe -show_format -show_streams as JSON; an empty object when ffprobe fails.
QJsonObject Probe(const std::string& path);
QJsonObject StreamOf(const QJsonObject& probe, const QString& type);  // first of that codec_type
double Duration(const QJsonObject& probe);                              // format duration, seconds

// Decodes every packet; returns ffmpeg's complaints, empty when the file is sound.
std::string DecodeErrors(const std::string& path);

// Seconds from the first packet's start to the last packet's end, over every stream.
double PacketSpan(const std::string& path);

// The presentation times (seconds) of every packet of the stream type, in file order.
std::vector<double> PacketTimes(const std::string& path, const char* type);

// The first picture of a file as the ffmpeg command decodes it, RGB; null when it cannot.
QImage FirstPicture(const std::string& path);

// The box around what is not black in a picture.
QRect LitArea(const QImage& picture);

}  // namespace qxtest
