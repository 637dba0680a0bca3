#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace pixolo
{

class TSysDevEnum;
class DeviceMoniker;

// Which camera the main window uses: the one chosen last, kept in the settings file as [Setup] Camera=, while it is
// present; otherwise the first one listed, as without a choice.
namespace CameraChoice
{

struct Camera {
    QString name; // as the system names it
    QByteArray identity; // the camera's stored moniker: finds the same device again, run after run
};

// The cameras an enumerator lists, in its order.
std::vector<Camera> camerasOf(const TSysDevEnum &devices);

// The position among `cameras` of the one to use: the chosen one when it is there, else the first; -1 when there is
// no camera at all.
int preferredIndex(const std::vector<Camera> &cameras, const QByteArray &chosen);

// The settings file's text for a camera's identity (hexadecimal), and back; text that is not an identity gives an
// empty one (no choice).
QString settingsText(const QByteArray &identity);
QByteArray fromSettingsText(const QString &text);

// How a message names a camera: its name in quotes and, when it has one, its device ("/dev/video0") in brackets.
QString label(const DeviceMoniker *camera);

// What the user is told when a listed camera refuses to run: the camera's label, the system's own reason when it
// gave one, and the graph's error text on a line of its own.
QString openFailureText(const QString &cameraLabel, const QString &reason, const QString &graphError);

} // namespace CameraChoice

} // namespace pixolo
