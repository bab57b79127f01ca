// Replays every input the fuzzers once failed on (regressions/<target>/) through the same target.
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace marvok;

namespace marvok::fuzz {
// Test listings name the target rather than dumping its bytes.
void PrintTo(const Target& target, std::ostream* out) {
    *out << target.name;
}
} // namespace marvok::fuzz

namespace {

class FuzzRegressions : public ::testing::TestWithParam<fuzz::Target> {};

TEST_P(FuzzRegressions, EveryFormerFailureNowPasses) {
    const fuzz::Target target = GetParam();
    const QString folder = QStringLiteral(MARVOK_FUZZ_REGRESSIONS "/") + QLatin1String(target.name);
    QString input;
    fuzz::setFailureHandler(
        [&input](const char* what) { ADD_FAILURE() << input.toStdString() << ": " << what; });
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        input = name;
        const QByteArray bytes = test::readBytes(folder + u'/' + name);
        target.run(bytes);
    }
    fuzz::setFailureHandler({});
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions, ::testing::ValuesIn(fuzz::Targets),
                         [](const ::testing::TestParamInfo<fuzz::Target>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
