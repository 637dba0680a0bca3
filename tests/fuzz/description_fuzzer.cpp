// Fuzzes the description reader: the input is the text of a container whose pictures are all empty, so that the
// store reads every fixed section and entry from it; then each section is read by data classes too.
#include "FuzzSkin.h"

#include "skin/SkinIni.h"
#include "skin/TbsDataSkinControl.h"
#include "skin/TbsDataSkinObject.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace
{

constexpr std::array s_controlWords
    = { "panel", "expanel", "menubutton", "button", "checkradio", "gauge", "splitter", "trackbar", "label", "stdlabel",
          "updown", "grid", "tab", "mainmenubar", "controlbar", "memo", "edit", "checklistbox", "listbox", "combobox",
          "scrollbar", "spinedit", "scrollbox", "treeview", "bevel", "slider", "listview", "richedit" };
constexpr std::array s_objectWords
    = { "menuitem", "mainmenubaritem", "stdbutton", "mainmenubarbutton", "button", "caption", "animate", "userobject" };

// version 3, three empty form pictures, no numbered pictures
const QByteArray s_header = QByteArray::fromHex("03000000010101") + QByteArray(4, '\0');

// Reads a section with one data class and writes it back; a bad value may raise, nothing else may happen.
template <class Data> void readAndWrite(const pixolo::SkinIni &ini, std::unique_ptr<Data> data)
{
    try {
        data->LoadData(ini);
        pixolo::SkinIni out;
        data->SaveData(out);
    } catch (const std::exception &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView text(data, qsizetype(size));
    pixolo::fuzz::loadAndUse(pixolo::fuzz::stored(s_header + text.toByteArray()));

    // Each section is read by one control class and one object class, chosen by the section's place and the
    // input's size, so that every class meets every kind of section over the run without each input paying for
    // all of them.
    const pixolo::SkinIni ini(pixolo::SkinIni::splitLines(text));
    const QStringList sections = ini.Sections();
    for (qsizetype i = 0; i < sections.size(); ++i) {
        const size_t pick = size_t(i) * 7 + size;
        readAndWrite(ini, pixolo::CreateSkinControlData(s_controlWords[pick % s_controlWords.size()], sections[i]));
        readAndWrite(ini, pixolo::CreateSkinObjectData(s_objectWords[pick % s_objectWords.size()], sections[i]));
    }
    return 0;
}
