// An editable text grid edits the core's rows in place, only in its editable columns.
#include <gtest/gtest.h>

#include <QTableView>

#include "WindowDriver.h"
#include "ca/app/common/TextGridModel.h"

using namespace ca::app;

TEST(TextGridModel, EditsTheRowsInPlaceInEditableColumnsOnly) {
    TextGridModel::Rows rows{{"报关费", "100", "加急"}, {"商检费"}};
    TextGridModel model(rows, {"费用项目", "费用", "备注"}, {false, true, true});
    QTableView view;
    view.setModel(&model);
    EXPECT_EQ(test::headings(view), (std::vector<std::string>{"费用项目", "费用", "备注"}));
    EXPECT_EQ(test::cells(view),
              (std::vector<std::vector<std::string>>{{"报关费", "100", "加急"}, {"商检费", "", ""}}));

    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 0), "改名"));
    EXPECT_TRUE(model.setData(model.index(0, 1), "120.5"));
    EXPECT_TRUE(model.setData(model.index(1, 2), "复检"));  // a short row grows
    EXPECT_EQ(rows, (TextGridModel::Rows{{"报关费", "120.5", "加急"}, {"商检费", "", "复检"}}));

    model.reload([&] { rows.push_back({"运费", "0", ""}); });
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(test::cells(view).back(), (std::vector<std::string>{"运费", "0", ""}));
}
