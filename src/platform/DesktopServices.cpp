#include "platform/DesktopServices.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace pixolo::DesktopServices
{

namespace
{

struct Handlers {
    ChooseFolderHandler chooseFolder;
    OpenHandler openFolder;
    OpenHandler openAddress;
};

Handlers &handlers()
{
    static Handlers s_handlers;
    return s_handlers;
}

} // namespace

std::optional<QString> chooseFolder(QWidget *parent, const QString &title)
{
    if (handlers().chooseFolder) {
        return handlers().chooseFolder(title);
    }
    // No folder preselected: the chooser starts at the user's home.
    const QString folder = QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder;
}

void openFolder(const QString &path)
{
    if (handlers().openFolder) {
        handlers().openFolder(path);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void openAddress(const QString &address)
{
    if (handlers().openAddress) {
        handlers().openAddress(address);
        return;
    }
    QDesktopServices::openUrl(QUrl(address));
}

void setChooseFolderHandler(ChooseFolderHandler handler)
{
    handlers().chooseFolder = std::move(handler);
}

void setOpenFolderHandler(OpenHandler handler)
{
    handlers().openFolder = std::move(handler);
}

void setOpenAddressHandler(OpenHandler handler)
{
    handlers().openAddress = std::move(handler);
}

} // namespace pixolo::DesktopServices
