// Fuzzes the description reader: the input is the text of a container whose pictures are all empty, so that the
// store reads every fixed section and entry from it; then every section is read by every data class.
#include "FuzzSkin.h"

#include "skin/SkinIni.h"
#include "skin/TbsDataSkinControl.h"
#include "skin/TbsDataSkinObject.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

constexpr std::array s_controlWords = {"panel", "expanel", "menubutton", "button", "checkradio", "gauge",
                                       "splitter", "trackbar", "label", "stdlabel", "updown", "grid", "tab",
                                       "mainmenubar", "controlbar", "memo", "edit", "checklistbox", "listbox",
                                       "combobox", "scrollbar", "spinedit", "scrollbox", "treeview", "bevel",
                                       "slider", "listview", "richedit"};
constexpr std::array s_objectWords = {"menuitem", "mainmenubaritem", "stdbutton", "mainmenubarbutton",
                                      "button",   "caption",         "animate",   "userobject"};

// version 3, three empty form pictures, no numbered pictures
const QByteArray s_header = QByteArray::fromHex("03000000010101") + QByteArray(4, '\0');

template <class Make>
void readEverySection(const pixolo::SkinIni &ini, const QStringList &sections, Make make)
{
    for (const QString &section : sections) {
        auto data = make(section);
        try {
            data->LoadData(ini);
            pixolo::SkinIni out;
            data->SaveData(out);
        } catch (const std::exception &) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView text(data, qsizetype(size));
    pixolo::fuzz::loadAndUse(pixolo::fuzz::stored(s_header + text.toByteArray()));

    const pixolo::SkinIni ini(pixolo::SkinIni::splitLines(text));
    const QStringList sections = ini.Sections().mid(0, 8); // a few sections are enough for every class
    for (const char *word : s_controlWords) {
        readEverySection(ini, sections, [&](const QString &name) { return pixolo::CreateSkinControlData(word, name); });
    }
    for (const char *word : s_objectWords) {
        readEverySection(ini, sections, [&](const QString &name) { return pixolo::CreateSkinObjectData(word, name); });
    }
    return 0;
}
