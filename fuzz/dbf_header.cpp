// Fuzz target: any bytes as a table file. The header reader must refuse what is malformed and
// never read outside the buffer; whatever it accepts must open and read without fault.

#include "engine/DbServer.h"
#include "engine/DbfFormat.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace derode::engine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    DbfHeader header;
    std::string error;
    if (parseDbfHeader(bytes, size, header, error)) {
        // Every field of every record the header promises lies inside the bytes.
        for (std::uint32_t r = 0; r < header.recordCount && r < 64; ++r) {
            const std::size_t start = header.headerLength + static_cast<std::size_t>(r) * header.recordLength;
            for (std::size_t i = 0; i < header.fields.size(); ++i) {
                const char* field = bytes.data() + start + header.offsets[i];
                decodeField(header.fields[i], field, header.codePage());
                fieldDisplayText(header.fields[i], field, header.codePage());
            }
        }
    }
    // The same bytes as a file: ISFILEDBF and a whole open, navigation and reads.
    // A folder of its own: the engine looks for the table's index beside it.
    static const std::string folder = [] {
        std::string f = "/tmp/derode-fuzz-" + std::to_string(::getpid());
        ::mkdir(f.c_str(), 0700);
        return f;
    }();
    static const std::string path = folder + "/t.dbf";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
        ISFILEDBF(path);
        CDBSERVEREX table(path, {}, true, true);
        if (table.used()) {
            int n = 0;
            for (table.goTop(); !table.eof() && n < 64; table.skip(), ++n)
                for (int i = 1; i <= table.fieldCount(); ++i)
                    table.fieldGet(i);
            table.visibleCount();
        }
        table.close();
        std::remove(path.c_str());
    }
    return 0;
}
