#pragma once
// The table the CSF benchmarks read and write: as many rows as a game's own table.
#include "csf/csf_file.h"

namespace marvok::bench {

inline constexpr int BenchRows = 20000;

// Rows shaped like a game's table: a category and a name, a sentence with accents, one "WRTS" row
// in fifty.
inline CsfTable gameSizedTable() {
    CsfTable table;
    table.reserve(BenchRows);
    for (int i = 0; i < BenchRows; ++i) {
        CsfEntry row;
        row.Name = QStringLiteral("CONTROLBAR:ToolTipBuildUnit%1").arg(i);
        row.Value = QStringLiteral("Entraîne une unité d'élite n° %1 : rapide, résistante, coûteuse.").arg(i);
        if (i % 50 == 0) {
            row.HasExtra = true;
            row.Extra = QByteArrayLiteral("ivoice_unit_select.wav");
        }
        table.append(row);
    }
    return table;
}

} // namespace marvok::bench
