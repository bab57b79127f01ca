#include "csf/csf_file.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

namespace marvok::fuzz {

void csfTable(QByteArrayView input) {
    const QString folder = freshScratchFolder();
    const QString path = folder + u"/input.csf";
    writeInput(path, input);
    const CsfReadResult read = ReadCsf(path);
    require(read.table.size() <= CsfMaxRows, "no more rows than the editor holds");
    require(read.language ==
                (input.size() > 20 && read.problem != CsfReadProblem::NotCsf ? quint8(input[20]) : -1),
            "the language is the byte at offset 20");
    if (!read.ok())
        return;

    // Saving what was read, as the CSF page does, reads back the same rows.
    const QString saved = folder + u"/saved.csf";
    const CsfWriteResult written = WriteCsf(saved, read.table, quint8(read.language));
    require(written.ok(), "a table that was read can be written");
    const CsfReadResult reread = ReadCsf(saved);
    require(reread.ok() && reread.table == read.table && reread.language == read.language,
            "the written table reads back the same");
}

} // namespace marvok::fuzz
