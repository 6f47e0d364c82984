#include <filesystem>
#include <fstream>

#include "ca/db/DbError.h"
#include "ca/db/Quoting.h"
#include "ca/db/testing/DbFixture.h"
#include "ca/util/Convert.h"

using ca::db::DbError;
using ca::db::TADOQuery;

namespace {

class Query : public EngineDbFixture {};
INSTANTIATE_TEST_SUITE_P(Engines, Query, ca::db::testing::AllEngines(), ca::db::testing::EngineName);

TEST_P(Query, ParametersCursorAndFields) {
    TADOQuery q(dm);
    q.SetSQL("insert into subData(Pid,SP_No,SPMC_Name,CJZJ,GJF) select :Pid,:SP_No,:SPMC_Name,:CJZJ,:gjf");
    q.ParamByName("PID").SetText("A1");
    q.ParamByName(":sp_no").SetText("");
    q.ParamByName("SPMC_Name").SetNull();
    q.ParamByName("CJZJ").SetNumber(2.5);
    q.ParamByName("GJF").SetInteger(7);
    EXPECT_EQ(q.ExecSQL(), 1);
    q.ParamByName("Pid").SetText("A2");
    q.ParamByName("CJZJ").SetInteger(3);
    EXPECT_EQ(q.ExecSQL(), 1);  // the same statement again with other values

    q.SetSQL("select * from SubData order by pid");
    q.Open();
    ASSERT_TRUE(q.Active());
    EXPECT_EQ(q.RecordCount(), 2);
    EXPECT_FALSE(q.IsEmpty());
    auto name = q.FieldByName("spmc_NAME");
    auto spNo = q.FieldByName("SP_No");
    EXPECT_TRUE(name.IsNull());
    EXPECT_EQ(name.AsString(), "");
    EXPECT_FALSE(spNo.IsNull());
    EXPECT_EQ(q.FieldByName("CJZJ").AsString(), "2.5");
    EXPECT_EQ(q.FieldByName("gjf").AsString(), "7");
    q.Next();
    EXPECT_EQ(q.FieldByName("pid").AsString(), "A2");  // fields follow the cursor
    EXPECT_EQ(q.FieldByName("CJZJ").AsInteger(), 3);
    q.Next();
    EXPECT_TRUE(q.Eof());
    EXPECT_TRUE(name.IsNull());  // no current row
    q.First();
    EXPECT_EQ(q.FieldByName("Pid").AsString(), "A1");
    // Any row can be read without moving the cursor; outside the result is Null.
    const int pid = q.FieldIndex("PID"), cjzj = q.FieldIndex("cjzj");
    EXPECT_EQ(q.FieldIndex("nosuch"), -1);
    EXPECT_EQ(q.valueAt(1, pid), ca::db::Value(std::string("A2")));
    EXPECT_EQ(ca::db::valueToString(q.valueAt(0, cjzj)), "2.5");
    for (auto [row, column] : {std::pair{2, pid}, {-1, pid}, {0, -1}, {0, q.FieldCount()}})
        EXPECT_EQ(q.valueAt(row, column), ca::db::Value()) << row << "," << column;
    EXPECT_EQ(q.FieldByName("Pid").AsString(), "A1");
    EXPECT_THROW(q.FieldByName("nosuch"), DbError);
    EXPECT_EQ(q.FieldByName("SPMC_Name").AsInteger(), 0);  // Null
    EXPECT_THROW(q.FieldByName("Pid").AsInteger(), ca::ConversionError);

    q.SetSQL("select Pid from subData where Pid=:p");  // a new text closes the result
    EXPECT_FALSE(q.Active());
    EXPECT_THROW(q.Open(), DbError) << "a parameter without a value";
    EXPECT_THROW(q.ParamByName("other"), DbError);
    q.ParamByName("p").SetText("none");
    q.Open();
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_TRUE(q.Eof());
    EXPECT_EQ(q.FieldByName("Pid").AsString(), "");
}

TEST_P(Query, ColumnKindsConvertOrRefuseLikeJet) {
    struct Case {
        const char* column;  // as Table.column
        const char* value;   // a text passed as parameter
        const char* stored;  // nullptr: refused with an error naming the column
    };
    const Case cases[] = {
        {"LoadData.SPXS", "3", "3"},
        {"LoadData.SPXS", " 12 ", "12"},
        {"LoadData.SPXS", "", nullptr},
        {"LoadData.SPXS", "abc", nullptr},
        {"LoadData.SPXS", "1.5", nullptr},
        {"subData.CJZJ", "12.50", "12.5"},
        {"subData.CJZJ", "-3", "-3"},
        {"subData.CJZJ", "-0", "0"},
        {"subData.CJZJ", "", nullptr},
        {"subData.CJZJ", "12,50", nullptr},
        {"LoadData.SB_Date", "2011-01-05", "2011-01-05"},
        {"LoadData.SB_Date", "2011-1-5", "2011-01-05"},
        {"LoadData.SB_Date", "2011/01/05 10:20:30", "2011-01-05 10:20:30"},
        {"LoadData.SB_Date", "2011-01-05 00:00:00", "2011-01-05"},
        {"LoadData.SB_Date", "2011-02-30", nullptr},
        {"LoadData.SB_Date", "--", nullptr},
        {"LoadData.SB_Date", "", nullptr},
        {"T_fee.sdate", "1990-09-09", "1990-09-09"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " <- '" + c.value + "'");
        std::string column(c.column);
        std::string table = column.substr(0, column.find('.')), col = column.substr(column.find('.') + 1);
        exec("delete from " + table);
        TADOQuery q(dm);
        q.SetSQL("insert into " + table + "(" + col + ") select :v");
        q.ParamByName("v").SetText(c.value);
        if (!c.stored) {
            try {
                q.ExecSQL();
                ADD_FAILURE() << "accepted";
            } catch (const DbError& e) {
                EXPECT_NE(std::string(e.what()).find(column), std::string::npos) << e.what();
            }
            EXPECT_EQ(rows("select count(*) from " + table), Rows{"0"});
        } else {
            q.ExecSQL();
            EXPECT_EQ(rows("select " + col + " from " + table), Rows{c.stored});
        }
    }
}

// The engine's refusals reach the clerk in Chinese and name the table, column or place.
TEST_P(Query, EngineErrorsAreChineseAndNameWhatIsWrong) {
    exec("insert into DEP (id,DEP_name)values(1,'a')");
    const struct {
        const char* sql;
        const char* message;
    } cases[] = {
        {"select * from NoSuchTable", "数据表“NoSuchTable”不存在。语句：select * from NoSuchTable"},
        {"select nosuchcolumn from DEP", "字段“nosuchcolumn”不存在。语句：select nosuchcolumn from DEP"},
        {"insert into DEP (id,nosuch)values(2,'b')",
         "数据表“DEP”中没有字段“nosuch”。语句：insert into DEP (id,nosuch)values(2,'b')"},
        {"selec * from DEP", "语法错误：在 \"selec\" 附近。语句：selec * from DEP"},
        {"insert into LoadData (TY_No,SPXS)values('T1','abc')",
         "数据类型不匹配：字段“LoadData.SPXS”（整数）不能接受 “abc”"},
        {"select * from DEP where DEP_name='a",
         "语法错误：语句第 34 个字符处的文本没有结束：select * from DEP where DEP_name='a"},
    };
    for (const auto& c : cases) {
        try {
            exec(c.sql);
            ADD_FAILURE() << c.sql << ": accepted";
        } catch (const DbError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST_P(Query, JoinedValuesInUpdatesAndInsertsAreCheckedToo) {
    exec("insert into DEP (id,DEP_name)values(1,'a')");
    exec("insert into employee (e_id,E_name,E_dep,E_isSup)values(1,'u',1,0)");
    exec("update employee set E_name='v',E_dep='1',E_isSup=2 where e_id=1");
    EXPECT_EQ(rows("select E_dep, typeof(E_dep), E_isSup from employee"), Rows{"1|integer|2"});
    EXPECT_THROW(exec("update employee set E_dep='' where e_id=1"), DbError);
    EXPECT_THROW(exec("insert into DEP (id,DEP_name)values('x','b')"), DbError);
    exec("insert into T_fee(ty_no) values ('k')");
    EXPECT_THROW(exec("update T_fee set bgf='' where ty_no='k'"), DbError);
    EXPECT_THROW(exec("update T_fee set bgf='1O' where ty_no='k'"), DbError);
    exec("update T_fee set bgf='12.50' where ty_no='k'");
    EXPECT_EQ(rows("select bgf from T_fee"), Rows{"12.5"});
    // Copies between tables: values are converted item by item, a whole row keeps the table checks.
    exec("insert into T_fee1(ty_no, sdate) select ty_no, '2011-1-2' as d from T_fee");
    exec("insert into T_fee select * from T_fee where ty_no='k'");
    EXPECT_EQ(rows("select count(*), max(bgf) from T_fee"), Rows{"2|12.5"});
    EXPECT_EQ(rows("select sdate from T_fee1"), Rows{"2011-01-02"});
}

TEST_P(Query, JoinedValuesAreStoredAndMatchedLiterally) {
    const std::string values[] = {
        "O'Neil", "''", "50% off", "a_b", "back\\slash", "乗俓僜刓匼", "x'; delete from LoadData; --", "[x]",
    };
    addDeclaration("KEEP", "", "2011-01-01", "2011-01-01", "进口报关单");
    for (const auto& v : values) {
        SCOPED_TRACE(v);
        exec("insert into func_desc(Fd_func_code,Fd_func_name)values('c" + std::to_string(v.size()) + "','" +
             ca::db::EscapeQuotes(v) + "') ");
        EXPECT_EQ(rows("select Fd_func_name from func_desc where Fd_func_name=" + ca::db::QuotedStr(v)),
                  Rows{v});
        EXPECT_EQ(rows("select Fd_func_name from func_desc where Fd_func_name like '%" +
                       ca::db::EscapeLike(v) + "%'"),
                  Rows{v});
        exec("delete from func_desc where Fd_func_name='" + ca::db::EscapeQuotes(v) + "'");
    }
    EXPECT_EQ(rows("select count(*) from LoadData"), Rows{"1"});
    EXPECT_EQ(rows("select count(*) from func_desc"), Rows{"24"});
}

TEST_P(Query, OneStatementPerText) {
    exec("insert into DEP (id,DEP_name)values(1,'a')");
    EXPECT_THROW(exec("delete from DEP where id=2; delete from DEP"), DbError);
    EXPECT_THROW(exec("   "), DbError);
    EXPECT_THROW(exec("select 'unterminated"), DbError);
    EXPECT_THROW(exec("select * from LoadData where indate>=#2011-13-01#"), DbError);
    EXPECT_EQ(rows("select count(*) from DEP"), Rows{"1"});
    TADOQuery q(dm);
    q.SetSQL("delete from DEP");
    EXPECT_THROW(q.Open(), DbError) << "a statement without rows is not opened";
    EXPECT_EQ(rows("select count(*) from DEP"), Rows{"1"});
}

// Statements run again come from the connection's compiled statements: each run must see its own
// values, recover from the failure of the run before, and follow changes of the table structure.
TEST_P(Query, StatementsRunAgainSeeNewValuesAndNewColumns) {
    const std::string insert = "insert into DEP (id,DEP_name) select :id,:name";
    const std::string byId = "select DEP_name from DEP where id=:id";
    struct Step {
        const char* id;
        const char* name;  // nullptr: run without setting the name
        bool stored;
    };
    const Step steps[] = {
        {"1", "a", true}, {"2", "b", true}, {"x", "c", false}, {"3", nullptr, false}, {"3", "c", true}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.id);
        TADOQuery q(dm);  // a new query object each time: the compiled statement is the connection's
        q.SetSQL(insert);
        q.ParamByName("id").SetText(step.id);
        if (step.name) q.ParamByName("name").SetText(step.name);
        if (step.stored)
            EXPECT_EQ(q.ExecSQL(), 1);
        else
            EXPECT_THROW(q.ExecSQL(), DbError);
    }
    TADOQuery q(dm);
    for (const auto& [id, name] : {std::pair{2, "b"}, {1, "a"}, {3, "c"}, {4, ""}}) {
        q.SetSQL(byId);
        q.ParamByName("id").SetInteger(id);
        q.Open();
        EXPECT_EQ(q.IsEmpty() ? "" : q.FieldByName("DEP_name").AsString(), name) << id;
    }

    // A column added later: the statement that named it and failed now works, with the checks of the
    // column's kind, and "*" lists it.
    const std::string withNew = "insert into DEP (id,DEP_name,rate) select :id,:name,:rate";
    auto insertRate = [&](int id, const char* rate) {
        TADOQuery w(dm);
        w.SetSQL(withNew);
        w.ParamByName("id").SetInteger(id);
        w.ParamByName("name").SetText("r");
        w.ParamByName("rate").SetText(rate);
        return w.ExecSQL();
    };
    EXPECT_EQ(rows("select * from DEP where id=1"), Rows{"1|a"});
    EXPECT_THROW(insertRate(5, "1.5"), DbError);
    exec("alter table DEP add rate numeric(18,2)");
    EXPECT_EQ(insertRate(5, "12.50"), 1);
    EXPECT_THROW(insertRate(6, "abc"), DbError);  // refused as a number, not stored as text
    EXPECT_EQ(rows("select * from DEP where id=1"), Rows{"1|a|<null>"});
    EXPECT_EQ(rows("select id, rate, typeof(rate) from DEP where rate is not null"), Rows{"5|12.5|real"});
    // The column made a text column: the same statement stores the text as given.
    exec("alter table DEP drop column rate");
    exec("alter table DEP add rate text(10)");
    EXPECT_EQ(insertRate(7, "12.50"), 1);
    EXPECT_EQ(rows("select rate, typeof(rate) from DEP where id=7"), Rows{"12.50|text"});
}

}  // namespace
