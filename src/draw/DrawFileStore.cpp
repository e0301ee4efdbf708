#include "draw/DrawFileStore.h"

#include "core/AtomicFile.h"
#include "core/Text.h"
#include "draw/RecordWalk.h"

#include <filesystem>

namespace derode::draw {

namespace {

void setError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

}  // namespace

DrawRecord readDrawRecord(const engine::CDBSERVEREX& table)
{
    DrawRecord record;
    for (int place = 1; place <= kNamesPerRecord; ++place) {
        // Stored blank padded: BLANC and an empty place both read back as "".
        record.names[static_cast<std::size_t>(place - 1)] = core::rtrim(table.getText(nameField(place)));
        record.tokens[static_cast<std::size_t>(place - 1)] = core::trim(table.getText(tokenField(place)));
    }
    for (int i = 1; i <= kPointsPerRecord; ++i)
        record.points[static_cast<std::size_t>(i - 1)] = table.getNumber(pointsField(i));
    return record;
}

bool writeDrawRecord(engine::CDBSERVEREX& table, const DrawRecord& record)
{
    bool ok = true;
    for (int place = 1; place <= kNamesPerRecord; ++place) {
        ok = table.fieldPut(nameField(place), record.names[static_cast<std::size_t>(place - 1)]) && ok;
        ok = table.fieldPut(tokenField(place), record.tokens[static_cast<std::size_t>(place - 1)]) && ok;
    }
    for (int i = 1; i <= kPointsPerRecord; ++i)
        ok = table.fieldPut(pointsField(i), record.points[static_cast<std::size_t>(i - 1)]) && ok;
    return ok;
}

bool readDrawFile(const std::string& path, std::vector<DrawRecord>& records, std::string* error, bool shared)
{
    records.clear();
    engine::CDBSERVEREX table(path, {}, shared);
    if (!table.used()) {
        setError(error, table.lastError());
        return false;
    }
    if (table.fieldCount() < kDrawFieldCount) {
        setError(error, "not a draw file: " + std::to_string(table.fieldCount()) + " fields");
        return false;
    }
    forEachRecord(table, [&] { records.push_back(readDrawRecord(table)); });
    table.close();
    return true;
}

bool replaceDrawFileRecords(const std::string& path, const std::vector<DrawRecord>& records, std::string* error)
{
    {
        engine::CDBSERVEREX probe(path, {}, false);
        if (!probe.used()) {
            setError(error, probe.lastError().empty() ? "cannot open " + path : probe.lastError());
            return false;
        }
        if (probe.fieldCount() < kDrawFieldCount) {
            setError(error, "not a draw file: " + path);
            return false;
        }
    }
    std::string fillError;
    auto fill = [&](const std::string& tempPath) {
        std::error_code ec;
        if (!std::filesystem::copy_file(path, tempPath, std::filesystem::copy_options::overwrite_existing, ec)) {
            fillError = "cannot copy " + path + ": " + ec.message();
            return false;
        }
        engine::CDBSERVEREX table(tempPath, {}, false);
        if (!table.used()) {
            fillError = table.lastError();
            return false;
        }
        if (!table.zap()) {
            fillError = "cannot empty " + tempPath + ": " + table.lastError();
            return false;
        }
        for (const DrawRecord& record : records) {
            if (!table.append() || !writeDrawRecord(table, record)) {
                fillError = "cannot write a record: " + table.lastError();
                return false;
            }
        }
        if (!table.commit()) {
            fillError = "cannot commit: " + table.lastError();
            return false;
        }
        table.close();
        return true;
    };
    std::string replaceError;
    if (!core::replaceFileAtomically(path, fill, &replaceError)) {
        setError(error, fillError.empty() ? replaceError : fillError);
        return false;
    }
    return true;
}

}  // namespace derode::draw
