#include "app/CameraChoice.h"

#include "capture/TSysDevEnum.h"

#include <cctype>

namespace pixolo::CameraChoice
{

std::vector<Camera> camerasOf(const TSysDevEnum &devices)
{
    std::vector<Camera> cameras;
    for (int i = 0; i < devices.DeviceCount(); ++i) {
        Camera camera;
        camera.name = devices.Device(i)->FriendlyName;
        if (const std::optional<DeviceMoniker> moniker = devices.DeviceMoniker(i)) {
            camera.identity = moniker->Save();
        }
        cameras.push_back(std::move(camera));
    }
    return cameras;
}

int preferredIndex(const std::vector<Camera> &cameras, const QByteArray &chosen)
{
    if (cameras.empty()) {
        return -1;
    }
    for (size_t i = 0; !chosen.isEmpty() && i < cameras.size(); ++i) {
        if (cameras[i].identity == chosen) {
            return int(i);
        }
    }
    return 0;
}

QString label(const DeviceMoniker *camera)
{
    if (!camera) {
        return {};
    }
    const QString name = camera->FriendlyName();
    const QString path = camera->DevicePath();
    QString text = QLatin1Char('"') + name + QLatin1Char('"');
    if (!path.isEmpty()) {
        text += QStringLiteral(" (") + path + QLatin1Char(')');
    }
    return text;
}

QString openFailureText(const QString &cameraLabel, const QString &reason, const QString &graphError)
{
    QString text = QStringLiteral("Unable to open the camera ") + cameraLabel;
    const QString said = reason.trimmed();
    if (!said.isEmpty()) {
        text += QStringLiteral(": ") + said;
        if (!said.endsWith(QLatin1Char('.'))) {
            text += QLatin1Char('.');
        }
    } else {
        text += QLatin1Char('.');
    }
    return text + QLatin1Char('\n') + graphError;
}

QString settingsText(const QByteArray &identity)
{
    return QString::fromLatin1(identity.toHex());
}

QByteArray fromSettingsText(const QString &text)
{
    const QByteArray hex = text.trimmed().toLatin1();
    for (const char c : hex) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return {};
        }
    }
    if (hex.size() % 2 != 0) {
        return {};
    }
    // Only what loads as a moniker is an identity.
    const QByteArray bytes = QByteArray::fromHex(hex);
    return DeviceMoniker::Load(bytes) ? bytes : QByteArray();
}

} // namespace pixolo::CameraChoice
