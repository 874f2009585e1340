// Fuzz target: any bytes go through the handout file reader without crashing, hanging or growing
// without bound. Whatever loads must write a file that reads back to the same handout, byte for
// byte, and a failed read must leave the handout as it was.
#include "platform/recording_ui.h"
#include "sheet/handout_file.h"
#include "sheet/handout_file_data.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool sameContent(const vorpane::HandoutFileData& a, const vorpane::HandoutFileData& b)
{
    return a.snapshot() == b.snapshot() && a.templateName == b.templateName;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static vorpane::ScopedRecordingUi recorder;
    recorder.reset();

    vorpane::HandoutFileData doc;
    doc.texts[3] = "before";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!vorpane::HandoutFile::read(bytes, doc)) {
        if (doc.texts[3] != "before" || !doc.templateName.empty())
            abort(); // a failed read changed the document
        return 0;
    }
    const std::string written = vorpane::HandoutFile::text(doc);
    vorpane::HandoutFileData again;
    if (!vorpane::HandoutFile::read(written, again) || !sameContent(doc, again))
        abort();
    if (vorpane::HandoutFile::text(again) != written)
        abort();
    return 0;
}
