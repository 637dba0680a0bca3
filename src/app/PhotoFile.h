#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <stdexcept>

namespace pixolo
{

// A photo file could not be created: "Cannot create file "%s". %s" (the file name, then the system's reason).
class ECreateFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Naming and storing photo files.
namespace PhotoFile
{

// The path text with every control character taken out (a pasted line break cannot reach a file name).
QString withoutControlCharacters(const QString &text);
// The photo folder text as it is saved in the settings: no control characters, no leading or trailing blanks.
QString settingsText(const QString &text);
// The folder photos go to while the folder text is empty: the user's Pictures folder, with a final "/".
QString defaultFolder();
// The text photos are named from, for the folder text as the user typed it: without control characters and leading
// or trailing blanks; a leading "~/" is the home folder; a text naming an existing folder without the final "/" is
// that folder (not a name prefix beside it); an empty text is defaultFolder(), which is made when missing. Any other
// text stands as it is, its last part a prefix of the names ("/a/cam1-" gives "/a/cam1-20261209….jpg").
QString photoPathText(const QString &folderText);
// Local time as YYYYMMDDHHMMSS.
QString timeStamp(const QDateTime &when);
// The first file name for a photo taken at `when`: path text + time stamp + ".jpg".
QString fileName(const QString &pathText, const QDateTime &when);

// Stores the JPEG under fileName(pathText, when); when that name is taken, under the same name with "-2", "-3", …
// before ".jpg", so no photo is ever overwritten. The file appears whole or not at all, and is written and synced
// once whichever name it takes. Returns the name used. The temporary files of the folder are tidied first, at most
// once a minute.
QString store(const QString &pathText, const QDateTime &when, const QByteArray &jpeg);

struct TidiedFiles {
    int recovered = 0; // whole photos given their names
    int removed = 0; // parts of photos removed
};

// Tidies the hidden temporary photo files that a copy ended while storing left in the folder of the path text: only
// plain files of this user, named as our temporary photo files. A whole photo (a JPEG with its end marker) gets the
// name it was going to have, its time stamp (the next free suffix when that is taken), and keeps its time; part of a
// photo is removed once it has been left alone for a minute. Other files are never touched.
TidiedFiles tidyTemporaryFiles(const QString &pathText);

} // namespace PhotoFile

} // namespace pixolo
