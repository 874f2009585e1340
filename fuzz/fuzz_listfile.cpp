// List files from arbitrary bytes: section lookups through the cache and name drawing.
#include "platform/random.h"
#include "platform/recording_ui.h"
#include "rules/list_file.h"
#include "rules/name_generator.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vorpane;
    static ScopedRecordingUi recorder;
    recorder.reset();

    const std::string text(reinterpret_cast<const char*>(data), size);
    seedRandom(uint32_t(size));
    ListFile list = ListFile::fromText("fuzz.lst", text, 2);
    // A name taken from the input reaches sections the fixed names do not.
    const std::string firstLine = text.substr(0, text.find_first_of("\r\n"));
    for (const std::string& name :
        { std::string("Phobias"), std::string(" Idioma "), firstLine, std::string("Phobias") })
        list.section(name);
    NameGenerator names(ListFile::fromText("names.lst", text, NameGenerator::kSlotCount));
    for (int i = 0; i < 8; ++i)
        names.draw();
    return 0;
}
