#include <gtest/gtest.h>

#ifndef CA_NO_FREEXL
#include <freexl.h>
#endif

#include "SampleRows.h"
#include "TestFiles.h"

namespace ca::spreadsheet {
namespace {

using namespace test;

TEST(XlsWriter, FreeXlReadsWhatWeWrite) {
#ifdef CA_NO_FREEXL
    GTEST_SKIP() << "libfreexl-dev is not installed (scripts/test installs it)";
#else
    const auto dir = tempDir("writer_freexl");
    const std::string path = (dir / "out.xls").string();
    const TextRows rows = sampleRows();
    saveTextRows(path, "StringGrid1", rows, true);
    const void* handle = nullptr;
    ASSERT_EQ(freexl_open(path.c_str(), &handle), FREEXL_OK);
    const char* name = nullptr;
    ASSERT_EQ(freexl_get_worksheet_name(handle, 0, &name), FREEXL_OK);
    EXPECT_STREQ(name, "StringGrid1");
    ASSERT_EQ(freexl_select_active_worksheet(handle, 0), FREEXL_OK);
    unsigned int nRows = 0;
    unsigned short nCols = 0;
    ASSERT_EQ(freexl_worksheet_dimensions(handle, &nRows, &nCols), FREEXL_OK);
    EXPECT_EQ(nRows, rows.size());
    EXPECT_EQ(nCols, 31);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            FreeXL_CellValue v;
            ASSERT_EQ(
                freexl_get_cell_value(handle, static_cast<unsigned>(r), static_cast<unsigned short>(c), &v),
                FREEXL_OK);
            if (rows[r][c].empty()) {
                ASSERT_EQ(v.type, FREEXL_CELL_NULL) << r << "," << c;
                continue;
            }
            ASSERT_EQ(v.type, FREEXL_CELL_SST_TEXT) << r << "," << c;
            ASSERT_EQ(std::string(v.value.text_value), rows[r][c]) << r << "," << c;
        }
    }
    freexl_close(handle);
#endif
}

}  // namespace
}  // namespace ca::spreadsheet
