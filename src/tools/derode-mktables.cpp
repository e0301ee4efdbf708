// derode-mktables PROGRAM_FOLDER: writes the empty template tables of the program folder
// (OwnerData: member table and index, draw file, standings tables; CommonData: blank sheet).
// A template that already has its layout is left alone, so a rebuild rewrites nothing.

#include "engine/Templates.h"

#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;
using namespace derode::engine;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage : derode-mktables DOSSIER_DU_PROGRAMME\n";
        return 1;
    }
    const fs::path root = argv[1];
    for (const auto& [folder, layout] : programTemplates()) {
        const fs::path dir = root / folder;
        std::error_code ec;
        fs::create_directories(dir, ec);
        const fs::path table = dir / layout.fileName;
        if (matchesLayout(table.string(), layout))
            continue;
        fs::remove(table, ec);
        fs::remove(fs::path(table).replace_extension(".cdx"), ec);
        std::string error;
        if (!createFromLayout(table.string(), layout, &error)) {
            std::cerr << "derode-mktables: " << table.string() << " : " << error << "\n";
            return 1;
        }
    }
    return 0;
}
