// Fuzzes the stored camera identity: the block of bytes the source filter keeps (length, class identifier, the
// device's identity) read back into a moniker, as happens when a stored camera is looked for again, and the text the
// settings file keeps for the camera chosen last ([Setup] Camera=, hexadecimal). A block either gives a moniker or is
// refused; an identity that reads must write back to bytes that read as the same identity, and a settings text that
// gives an identity must give it again from the text written for it.
#include "FuzzCheck.h"

#include "app/CameraChoice.h"
#include "capture/DeviceMoniker.h"
#include "capture/TFilter.h"
#include "capture/TPersistentMemory.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pixolo;
    const QByteArrayView bytes(data, qsizetype(size));

    if (const std::optional<DeviceIdentity> identity = DeviceIdentity::fromBytes(bytes)) {
        const std::optional<DeviceIdentity> again = DeviceIdentity::fromBytes(identity->toBytes());
        FUZZ_REQUIRE(again.has_value(), "a written identity reads");
        FUZZ_REQUIRE(*again == *identity, "an identity survives writing");
        FUZZ_REQUIRE(!identity->duplicateKey().isEmpty(), "every identity has a key");
    }

    // The settings file's text: the input as it stands, and the input written as the program writes an identity.
    for (const QString &text :
        { QString::fromUtf8(bytes.data(), bytes.size()), CameraChoice::settingsText(bytes.toByteArray()) }) {
        const QByteArray identity = CameraChoice::fromSettingsText(text);
        if (!identity.isEmpty()) {
            FUZZ_REQUIRE(CameraChoice::fromSettingsText(CameraChoice::settingsText(identity)) == identity,
                "a chosen camera's settings text gives the same camera again");
        }
    }

    // The filter's stored form: the persisted block, then the moniker inside it.
    TBaseFilter stored;
    try {
        stored.Setdata(bytes);
    } catch (const EInvalidStoredData &) {
        return 0;
    }
    if (const std::optional<DeviceMoniker> moniker = stored.LoadMoniker()) {
        (void)moniker->FriendlyName();
        (void)moniker->DevicePath();
        const std::optional<DeviceMoniker> reloaded = DeviceMoniker::Load(moniker->Save());
        FUZZ_REQUIRE(reloaded.has_value() && reloaded->identity() == moniker->identity(), "a saved moniker loads");
    }
    return 0;
}
