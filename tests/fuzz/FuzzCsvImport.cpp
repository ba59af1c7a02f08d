// A table of readings as a user may hand it to the import: any bytes, any encoding. The reader
// refuses with a message or yields rows within its limit; a step test built from them can be added
// to a document, saved and read back.
#include "FuzzCheck.h"
#include "data/ImportMapping.h"
#include "data/ImportTable.h"
#include "data/ManualTest.h"
#include "data/TrvFile.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    trv::ImportTable table;
    if (const trv::Result read = trv::ReadImportTable(bytes, table); !read) {
        FUZZ_CHECK(!read.message.empty());
        return 0;
    }
    FUZZ_CHECK(!table.m_Rows.empty());
    FUZZ_CHECK(table.m_Rows.size() <= static_cast<size_t>(trv::kImportRowsMax));
    FUZZ_CHECK(table.m_Lines.size() == table.m_Rows.size());
    const trv::ImportMapping mapping = trv::GuessImportMapping(table);
    FUZZ_CHECK(mapping.size() == static_cast<size_t>(table.ColumnCount()));
    trv::ImportOptions options;
    options.m_Date = trv::COleDateTime::FromParts(2026, 1, 8, 16, 0, 0);
    trv::ManualTestInput input;
    if (const trv::Result read = trv::ImportInputFromTable(table, mapping, options, input); !read) {
        FUZZ_CHECK(!read.message.empty());
        return 0;
    }
    trv::TestDataType test;
    std::vector<std::string> questions;
    if (!trv::BuildManualTest(input, test, questions)) return 0;
    trv::CTRVDoc doc;
    int index = -1;
    if (!trv::AddManualTest(doc, test, index)) return 0;
    std::vector<uint8_t> file;
    if (!trv::WriteTrv(doc, file)) return 0;
    trv::CTRVDoc back;
    FUZZ_CHECK(trv::ReadTrv(file, back));
    FUZZ_CHECK(back.GetTestCount() == 1);
    FUZZ_CHECK(back.GetTest(0).m_Steps.size() == doc.GetTest(0).m_Steps.size());
    return 0;
}
