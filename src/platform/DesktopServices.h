#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace pixolo
{

// The desktop's folder chooser, file manager and web browser, behind seams that tests can answer.
namespace DesktopServices
{

// A modal folder chooser with the given title; nothing when cancelled. Answers from the test handler when set.
std::optional<QString> chooseFolder(QWidget *parent, const QString &title);
// Opens a folder in the desktop's file manager (through xdg-open, which is left running on its own). When no file
// manager can open it, `onFailure` is called later on this thread with the reason, as "Cannot open the folder …".
using FailureHandler = std::function<void(const QString &problem)>;
void openFolder(const QString &path, FailureHandler onFailure = {});
// Opens an address in the default web browser.
void openAddress(const QString &address);

using ChooseFolderHandler = std::function<std::optional<QString>(const QString &title)>;
using OpenHandler = std::function<void(const QString &)>;
void setChooseFolderHandler(ChooseFolderHandler handler);
void setOpenFolderHandler(OpenHandler handler);
void setOpenAddressHandler(OpenHandler handler);

} // namespace DesktopServices

} // namespace pixolo
