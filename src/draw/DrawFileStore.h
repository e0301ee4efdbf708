#pragma once
// Reading and writing draw files through the table engine, by field position.

#include "draw/DrawFile.h"
#include "engine/DbServer.h"

#include <string>
#include <vector>

namespace derode::draw {

// Reads every visible record of a draw file, opened shared (or exclusively). Names and tokens
// are trimmed on the right, as the engine keeps them blank padded.
bool readDrawFile(const std::string& path, std::vector<DrawRecord>& records, std::string* error = nullptr,
                  bool shared = true);

// The record under the cursor of an open draw file, and writing one into it, by position.
DrawRecord readDrawRecord(const engine::CDBSERVEREX& table);
bool writeDrawRecord(engine::CDBSERVEREX& table, const DrawRecord& record);

// Replaces the content of an existing draw file with `records`, all or nothing: the file must
// open exclusively (it fails when it is missing or open elsewhere); the new records go into a
// copy beside it, which replaces the file in one step once complete. On any failure the file
// keeps its previous records.
bool replaceDrawFileRecords(const std::string& path, const std::vector<DrawRecord>& records,
                            std::string* error = nullptr);

}  // namespace derode::draw
