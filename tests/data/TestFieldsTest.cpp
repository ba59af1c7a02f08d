// The field list of a test record: the file keeps every stored field, and the table of edits that
// the tests share covers every field of the records.
#include "FieldEdits.h"
#include "data/TRVDoc.h"
#include "data/TrvFile.h"

#include <gtest/gtest.h>

using namespace trv;
using namespace fieldtest;

TEST(TestFields, TheTableOfEditsCoversEveryFieldOfTheRecords) {
    // A new field changes the sizes: add it to data/TestFields.h and to FieldEdits.h, then here.
    EXPECT_EQ(sizeof(TestDataType), kTestRecordSize);
    EXPECT_EQ(sizeof(PCMDataType), kReadingSize);
}

TEST(TestFields, AFileKeepsEveryStoredFieldAndOnlyThose) {
    for (const FieldEdit& edit : AllFieldEdits()) {
        CTRVDoc doc;
        doc.m_Tests.push_back(BaseTest());
        const double before = edit.value(doc.m_Tests[0]);
        edit.change(doc.m_Tests[0]);
        const double changed = edit.value(doc.m_Tests[0]);
        ASSERT_NE(changed, before) << edit.name;
        std::vector<uint8_t> bytes;
        ASSERT_EQ(WriteTrv(doc, bytes).message, "") << edit.name;
        CTRVDoc back;
        ASSERT_EQ(ReadTrv(bytes, back).message, "") << edit.name;
        ASSERT_EQ(back.m_Tests.size(), 1u);
        // A field that is not stored comes back as a fresh record has it.
        EXPECT_EQ(edit.value(back.m_Tests[0]), edit.stored ? changed : before) << edit.name;
    }
}
