#pragma once

#include <QString>

#include <functional>

namespace pixolo
{

// The process-wide texts, filled once by start-up before any window exists and read-only afterwards.
struct TGlobalVariant {
    QString sAppTitle; // the product title
    QString sAppPath; // the folder of the running program, with its final "/"
    QString sIniFile; // the settings file: sAppPath + "Pixolo.ini", or the user's own (see settingsFileFor)
};

extern TGlobalVariant rcGlobalVariant;

// The folder part of an executable's full path, up to and including its last "/" (the root stays "/").
QString appPathOf(const QString &executablePath);

// Where the settings file of a program in `appPath` lives. It is "Pixolo.ini" beside the program when that file is
// there already or the program's folder can be written. An installed program's folder belongs to the system and
// cannot be written by the person who runs it; its settings then live in the user's own configuration folder,
// `configHome` + "/pixolo/Pixolo.ini", and that folder is made when missing, so that a chosen photo folder is
// remembered. `folderWritable` is the test of writability (the process's own access rights by default).
QString settingsFileFor(const QString &appPath, const QString &configHome,
    const std::function<bool(const QString &folder)> &folderWritable = {});

// The user's configuration folder: $XDG_CONFIG_HOME when it names an absolute path, else ~/.config.
QString userConfigHome();

} // namespace pixolo
