#pragma once
// The dBase table layout, read and written byte by byte:
//
//   0      version byte (0x03 dBase III without memo; 0x30/0x31 Visual FoxPro; 0x83, 0x8B, 0xF5 with memo)
//   1..3   date of the last update: year - 1900, month, day
//   4..7   record count (little-endian)
//   8..9   header length: the offset of record 1
//   10..11 record length: 1 (deletion flag) + the sum of the field lengths
//   28     table flags (bit 0: a structural .cdx exists; Visual FoxPro: 2 memo, 4 database container)
//   29     language driver: the code page of the text
//   32..   32-byte field descriptors: name (11 bytes, NUL padded), type (11), length (16),
//          decimals (17), flags (18); ended by 0x0D
//   header length + (n - 1) * record length: record n, a deletion flag ('*' deleted, ' ' not) and
//          the fields in order; after the last record an end marker 0x1A.
//
// parseDbfHeader never reads outside the bytes it is given: every length is checked against the
// buffer and the file size first.

#include "engine/CodePage.h"
#include "engine/DbServer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace derode::engine {

struct DbfHeader {
    std::uint8_t version = 0x03;
    Date lastUpdate;
    std::uint32_t recordCount = 0;
    std::uint32_t headerLength = 0;
    std::uint32_t recordLength = 0;
    std::uint8_t tableFlags = 0;
    std::uint8_t languageDriver = 0x03;
    std::vector<FieldDef> fields;
    std::vector<std::uint32_t> offsets;  // of each field inside a record (after the flag byte)
    bool unsupportedTypes = false;       // fields of other types than C, N, L, D: read-only

    CodePage codePage() const { return codePageFromDriver(languageDriver); }
};

inline constexpr std::size_t kDbfMaxHeader = 65535;

// Parses a header from the first bytes of a file of `fileSize` bytes (at least the header length
// of them, or the whole file when shorter). False with a reason when malformed.
bool parseDbfHeader(const std::string& bytes, std::uint64_t fileSize, DbfHeader& out, std::string& error);

// Checks a field list for a new table and normalises names to capitals.
bool validateFields(std::vector<FieldDef>& fields, std::string& error);

// The header bytes of a table with these fields (offsets and lengths computed here).
std::string buildDbfHeader(DbfHeader& header);

// Writes bytes 1..7 (update date and record count) into `out` (7 bytes).
void encodeCountAndDate(const Date& date, std::uint32_t count, unsigned char* out);

// One field's bytes <-> value. Text is converted with the code page.
Value decodeField(const FieldDef& field, const char* bytes, CodePage codePage);
// False (and a reason) when the value does not fit the field's type or width.
bool encodeField(const FieldDef& field, const Value& value, CodePage codePage, char* bytes, std::string& error);
// A blank field: blanks.
inline std::string blankRecord(std::uint32_t recordLength) { return std::string(recordLength, ' '); }

// The text `dump` shows for one field: text trimmed on the right, numbers as stored without
// leading blanks, logicals T/F, dates YYYYMMDD.
std::string fieldDisplayText(const FieldDef& field, const char* bytes, CodePage codePage);

}  // namespace derode::engine
