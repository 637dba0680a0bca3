#pragma once

#include <QString>

namespace pixolo {

// The process-wide texts, filled once by start-up before any window exists and read-only afterwards.
struct TGlobalVariant {
    QString sAppTitle; // the product title
    QString sAppPath;  // the folder of the running program, with its final "/"
    QString sIniFile;  // sAppPath + "Pixolo.ini"
};

extern TGlobalVariant rcGlobalVariant;

// The folder part of an executable's full path, up to and including its last "/" (the root stays "/").
QString appPathOf(const QString &executablePath);

} // namespace pixolo
