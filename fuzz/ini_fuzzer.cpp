// Feeds arbitrary bytes to the settings-file reader and to an edit of the same text.
#include "client/model/IniText.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string content(reinterpret_cast<const char*>(data), size);
    (void)IniText::find(content, "Set", "num");
    (void)IniText::find(content, "\xC6\xBD\xB0\xB2", "Percent");
    IniText text(content);
    text.set("Set", "num", "1");
    text.removeSection("WarnSet");
    const std::string out = text.serialize();
    // After setting a key, reading it back must give the value just written.
    IniText again(out);
    again.set("Set", "num", "2");
    auto v = IniText::find(again.serialize(), "Set", "num");
    if (!v || *v != "2")
        __builtin_trap();
    return 0;
}
