// A grid over a query reads the query's rows in place, through its column table, and shows an empty
// grid when the statement is refused.
#include <gtest/gtest.h>

#include <QTableView>

#include "WindowDriver.h"
#include "ca/app/common/QueryTableModel.h"
#include "ca/db/DbError.h"
#include "ca/db/TDM.h"

using namespace ca;
using namespace ca::app;

namespace {

void exec(db::TDM& dm, const std::string& sql) {
    db::TADOQuery q(dm);
    q.SetSQL(sql);
    q.ExecSQL();
}

}  // namespace

TEST(QueryTableModel, ShowsTheQueryThroughItsColumnsAndFollowsReopen) {
    db::TDM dm{":memory:"};
    exec(dm, "insert into subData(Pid,SP_No,SPMC_Name,CJZJ) values ('A1','1','螺丝',2.5)");
    exec(dm, "insert into subData(Pid,SP_No,SPMC_Name) values ('A2','1',null)");
    db::TADOQuery q(dm);
    QueryTableModel model(
        q, {{"pid", "报关单", {}},
            {"SPMC_NAME", "商品名称", [](const db::Value& v) { return "[" + db::valueToString(v) + "]"; }},
            {"CJZJ", "总价", {}},
            {"nosuch", "无此列", {}}});
    QTableView view;
    view.setModel(&model);
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });

    EXPECT_EQ(model.rowCount(), 0) << "a closed query shows no rows";
    model.reopen([&] {
        q.SetSQL("select * from subData order by Pid");
        q.Open();
    });
    EXPECT_EQ(test::headings(view), (std::vector<std::string>{"报关单", "商品名称", "总价", "无此列"}));
    EXPECT_EQ(test::cells(view),
              (std::vector<std::vector<std::string>>{{"A1", "[螺丝]", "2.5", ""}, {"A2", "[]", "", ""}}));
    EXPECT_EQ(model.index(0, 2).data(QueryTableModel::RawValueRole), QVariant(2.5));
    EXPECT_FALSE(model.index(1, 1).data(QueryTableModel::RawValueRole).isValid());  // Null
    EXPECT_EQ(model.value(1, "Pid"), db::Value(std::string("A2")));

    EXPECT_THROW(model.reopen([&] {
        q.SetSQL("select * from nosuchtable");
        q.Open();
    }),
                 db::DbError);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(test::cells(view).empty());
    EXPECT_EQ(resets, 2);
}

TEST(QueryTableModel, WithoutAColumnTableShowsEveryFieldByName) {
    db::TDM dm{":memory:"};
    exec(dm, "insert into DEP(ID,DEP_Name) values (1,'报关部')");
    db::TADOQuery q(dm);
    QueryTableModel model(q, {});
    QTableView view;
    view.setModel(&model);
    model.reopen([&] {
        q.SetSQL("select ID, DEP_Name from DEP");
        q.Open();
    });
    EXPECT_EQ(test::headings(view), (std::vector<std::string>{"ID", "DEP_Name"}));
    EXPECT_EQ(test::cells(view), (std::vector<std::vector<std::string>>{{"1", "报关部"}}));
}
