// Fuzz target: the INV10/INV20 reader on any bytes (the first byte picks the version, the rest is
// the file). Whatever loads must export to bytes that, once normalised by a second read, read back
// to the same bytes.
#include "investigator/investigator.h"
#include "investigator/legacy_file.h"
#include "platform/recording_ui.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string reread(const std::string& bytes, int version)
{
    vorpane::Investigator inv;
    if (!vorpane::LegacyFile::read(bytes, version, inv))
        abort(); // an exported file must load
    return vorpane::LegacyFile::bytes(inv, version);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static vorpane::ScopedRecordingUi recorder;
    recorder.reset();
    if (size == 0)
        return 0;

    const int version = (data[0] & 1) ? 2 : 1;
    vorpane::Investigator inv;
    if (!vorpane::LegacyFile::read(
            std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), version, inv))
        return 0;
    // A subskill can only find the first entry of its parent's name, so one more read may drop
    // some; after that the bytes are a fixed point.
    const std::string normalised = reread(reread(vorpane::LegacyFile::bytes(inv, version), version), version);
    if (reread(normalised, version) != normalised)
        abort();
    return 0;
}
