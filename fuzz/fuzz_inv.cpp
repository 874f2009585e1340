// Fuzz target: any bytes go through the investigator file reader (which hands INV10/INV20 files to
// the legacy reader) without crashing, hanging or growing without bound. Whatever loads must write
// a file that reads back to the same bytes once normalised, and must survive a copy and a sort.
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"
#include "platform/recording_ui.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string reread(const std::string& text)
{
    vorpane::Investigator inv;
    std::string script;
    if (!vorpane::InvestigatorFile::read(text, inv, script))
        abort(); // the program's own file must load
    return vorpane::InvestigatorFile::text(inv, script);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static vorpane::ScopedRecordingUi recorder;
    recorder.reset();

    vorpane::Investigator inv;
    std::string script;
    if (!vorpane::InvestigatorFile::read(
            std::string_view(reinterpret_cast<const char*>(data), size), inv, script))
        return 0;
    // The first write settles declared subskill counts against the blocks present; from then on
    // the file is a fixed point.
    const std::string normalised = reread(vorpane::InvestigatorFile::text(inv, script));
    if (reread(normalised) != normalised)
        abort();

    vorpane::Investigator copy(inv);
    copy.sort();
    vorpane::InvestigatorFile::text(copy, script);
    return 0;
}
