// The statement forms the windows write, run against a small database: each row names the
// dialect feature, the statement as a window builds it, and the rows it must give.
#include "DownloadStatements.h"

#include "ca/db/DbError.h"
#include "ca/db/testing/DbFixture.h"

namespace {

class Dialect : public EngineDbFixture {
protected:
    void SetUp() override {
        EngineDbFixture::SetUp();
        if (IsSkipped()) return;
        // Two import declarations in January 2011, one export declaration in February.
        addDeclaration("000000000111111111", "520120110000000001", "2011-01-05", "2011-01-06", "进口报关单",
                       "Acme贸易");
        addDeclaration("000000000222222222", "520220110000000002", "2011-01-31", "2011-01-31", "进口报关单",
                       "ACME 物流");
        addDeclaration("000000000333333333", "", "2011-02-01", "2011-02-02", "出口报关单", "其他公司", "456");
        addGoods("000000000111111111", "1", "10.5", "厂甲");
        addGoods("000000000111111111", "2", "20", "厂乙");
        addGoods("000000000333333333", "1", "7", "厂甲");
        exec(
            "insert into T_fee(ty_no,bgno,sdate,kh,bgf,bjf) values "
            "('000000000111111111','520120110000000001','2011-01-06','Acme贸易',10,0)");
        exec(
            "insert into T_fee(ty_no,bgno,sdate,kh,bgf,bjf) values "
            "('000000000222222222','520220110000000002','2011-01-31','ACME 物流',0,0)");
        exec(
            "insert into T_fee(ty_no,bgno,sdate,kh,bgf,bjf) values "
            "('000000000333333333','','2011-02-02','其他公司',null,0)");
        exec("insert into DEP (id,DEP_name)values(1,'报关部')");
        exec(
            "insert into employee "
            "(e_id,E_name,E_dep,e_Sex,E_pos,E_pwd,e_mobile,E_isSup,e_add1,e_add2)values(1,'张三',1,'男','',''"
            ",'',0,'','')");
        exec("insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit)values(1,'bgf','报关费',1 )");
        exec("insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit)values(1,'bjf','报检费',0 )");
    }
};

struct Case {
    const char* feature;
    const char* sql;
    std::vector<std::string> expected;
};

TEST_P(Dialect, StatementFormsOfTheWindows) {
    const Case cases[] = {
        {"date literals against a date column, end date included",
         "select TY_No from LoadData where   indate>=#2011-01-01# and indate<=#2011-01-31# order by TY_No",
         {"000000000111111111", "000000000222222222"}},
        {"mid on the serial part",
         "select TY_No from LoadData where  indate>=#2010-12-01# and mid(LoadData.TY_No,10,9)='222222222'",
         {"000000000222222222"}},
        {"mid on the office code", "select count(*) from LoadData where mid(HG_No,1,4)='5201'", {"1"}},
        {"mid of a Chinese text counts characters",
         "select mid(JYDW_Name,5,2) from LoadData where TY_No='000000000111111111'",
         {"贸易"}},
        {"format with the month bounds of month mode",
         "select ty_no from loaddata where  1=1 AND format(sb_date,'yyyy-mm-dd hh:mm:ss')>='2011-01-01' and "
         "format(sb_date,'yyyy-mm-dd hh:mm:ss')<'2011-02-01' order by ty_no",
         {"000000000111111111", "000000000222222222"}},
        {"format: mm after hh is minutes",
         "select format('2011-03-04 05:06:07','yyyy-mm-dd hh:mm:ss'), format('2011-03-04','yy/m/d h:nn')",
         {"2011-03-04 05:06:07|11/3/4 0:00"}},
        {"like with % ignores letter case",
         "select TY_No from LoadData where JYDW_NAME like '%acme%' order by TY_No",
         {"000000000111111111", "000000000222222222"}},
        {"= ignores letter case, also against an expression",
         "select count(*) from LoadData where inouttype = '进口报关单' and mid(JYDW_Name,1,4)='ACME'",
         {"2"}},
        {"names in any letter case",
         "select count(*) from SUBDATA where PID='000000000111111111' and sp_no='2'",
         {"1"}},
        {"limit unquoted, scalar sub-query after =",
         "select L_func_code from limit where L_have_Limit=1 and L_pers_id=(select e_id from employee where "
         "E_name='张三')",
         {"bgf"}},
        {"not in sub-query",
         "select Fd_func_code from func_desc where Fd_func_code not in (select L_func_code from limit where "
         "L_pers_ID=1) and Fd_func_code in ('bjd','zbj','bgf')",
         {"bjd", "zbj"}},
        {"aggregates with )as", "SELECT COUNT(ID)as COUNTID, MAX(ID) AS MAXID FROM DEP", {"1|1"}},
        {"aggregates over an empty table",
         "SELECT count(e_id)as countID ,MAX(E_ID) AS MAXID FROM employee where e_id>5",
         {"0|<null>"}},
        {"derived table with an alias equal to a table name, keyword after a closing quote",
         "select loaddata.phone,loaddata.ty_no, loaddata.ty_no, SubData.ZJ,loaddata.inouttype from loaddata "
         "loaddata,"
         "(SELECT Pid, SUM(CJZJ) AS ZJ FROM SubData  GROUP BY Pid) SubData  where LoadData.ty_no=SubData.pid "
         " AND format(sb_date,'yyyy-mm-dd hh:mm:ss')>='2011-01-01' AND format(sb_date,'yyyy-mm-dd "
         "hh:mm:ss')<'2011-03-01'"
         "and inouttype='进口报关单' order by loaddata.phone",
         {"123|000000000111111111|000000000111111111|30.5|进口报关单"}},
        {"derived table with a goods filter",
         "select loaddata.ty_no,SubData.ZJ from loaddata loaddata,(SELECT Pid, SUM(CJZJ) AS ZJ FROM SubData  "
         "where sccj='厂甲' GROUP BY Pid) SubData  where LoadData.ty_no=SubData.pid order by loaddata.ty_no",
         {"000000000111111111|10.5", "000000000333333333|7"}},
        {"both export kinds",
         "select count(*) from loaddata where 1=1 and (inouttype='出口报关单' or "
         "inouttype='出口转关运输提前报关单')",
         {"1"}},
        {"phone group",
         "select count(*) from loaddata where 1=1 and(phone = '123' OR phone = '456' )",
         {"3"}},
        {"join with T_fee.* and a column of the other table",
         "select T_fee.*,loaddata.pz_no from T_fee,loaddata where loaddata.TY_NO=T_fee.TY_NO and "
         "mid(T_fee.TY_NO,10,9)='111111111'",
         {"Acme贸易|2011-01-06|<null>|<null>|<null>|520120110000000001|000000000111111111|10|0|<null>|<null>|"
          "<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|"
          "<null>|<null>|<null>|<null>|<null>|<null>|<null>"}},
        {"fee sums: a Null operand makes the sum Null",
         "select bgno from t_fee,LoadData where LoadData.ty_no=t_fee.ty_no   and SDate>=#2010-12-10# and "
         "SDate<=#2011-12-31# and bgf+bjf+0=0",
         {"520220110000000002"}},
        {"nz counts a missing amount as 0",
         "select bgno from t_fee where nz(bgf)+nz(t_fee.bjf)+0=0 and nz(bgf, 5)<>5 order by bgno",
         {"520220110000000002"}},
        {"text compared with an integer column",
         "select E_name from employee where E_dep='1' and e_ID<>2",
         {"张三"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.feature);
        EXPECT_EQ(rows(c.sql), c.expected);
    }
}

TEST_P(Dialect, AlterTableAddsFeeColumnsOfTheirKind) {
    // Run as the sql command runs any statement: a change of structure is executed, never opened
    // as a result (the engine reports a result column for the check of the existing rows).
    for (const char* sql :
         {"alter table T_fee add zdy01 numeric (18 ,2)", "alter table T_fee1 add zdy01 char (50)"}) {
        ca::db::TADOQuery q(dm);
        q.SetSQL(sql);
        int changed = -1;
        EXPECT_FALSE(q.OpenOrExec(changed)) << sql;
        EXPECT_EQ(q.FieldCount(), 0) << sql;
    }
    exec("update T_fee set zdy01=0");
    EXPECT_EQ(rows("select zdy01 from T_fee order by ty_no"), (Rows{"0", "0", "0"}));
    EXPECT_EQ(rows("select zdy01 from T_fee1"), Rows{});
    exec("update T_fee set zdy01='12.50' where ty_no='000000000111111111'");
    EXPECT_EQ(rows("select zdy01 from T_fee where ty_no='000000000111111111'"), Rows{"12.5"});
    // The new column shows in select * at the end.
    ca::db::TADOQuery q(dm);
    q.SetSQL("select * from T_fee");
    q.Open();
    EXPECT_EQ(q.Fields(q.FieldCount() - 1).FieldName(), "zdy01");
    EXPECT_THROW(exec("update T_fee set zdy01='abc'"), ca::db::DbError);
    exec("insert into T_fee1(ty_no) values('000000000111111111')");
    EXPECT_THROW(exec("update T_fee1 set zdy01='" + std::string(51, 'x') + "'"), ca::db::DbError);
    exec("update T_fee1 set zdy01='" + std::string(50, 'x') + "'");
}

TEST_P(Dialect, SelectStarOverAJoinKeepsBothEqualNames) {
    ca::db::TADOQuery q(dm);
    q.SetSQL(
        "select * from t_fee,LoadData where LoadData.ty_no=t_fee.ty_no and "
        "LoadData.ty_no='000000000111111111'");
    q.Open();
    int tyNo = 0;
    for (int i = 0; i < q.FieldCount(); ++i)
        tyNo += q.Fields(i).FieldName() == "ty_no" || q.Fields(i).FieldName() == "TY_No";
    EXPECT_EQ(tyNo, 2);
    EXPECT_EQ(q.FieldByName("TY_NO").FieldName(), "ty_no");  // the first of the two: T_fee's
    EXPECT_EQ(q.FieldByName("kh").AsString(), "Acme贸易");
}

INSTANTIATE_TEST_SUITE_P(Engines, Dialect, ca::db::testing::AllEngines(), ca::db::testing::EngineName);

}  // namespace

namespace {

class Statements : public EngineDbFixture {};

TEST_P(Statements, DownloadStoresOnceAndUpdatesInPlace) {
    ca::db::TADOQuery check(dm), write(dm);
    dbtest::Declaration d{"0000000001234'5678", "520120110000000009", "2011-03-04", "2011-03-05"};
    dbtest::storeDeclaration(check, write, d);
    d.phone = "999";
    d.goodsLines = 6;
    dbtest::storeDeclaration(check, write, d);
    EXPECT_EQ(rows("select count(*), max(phone), max(SB_Date), max(SPXS), max(YLR_No) from LoadData"),
              Rows{"1|999|2011-03-04|6|文本YLR_No"});
    EXPECT_EQ(rows("select count(*), sum(bgf), sum(zbj) from T_fee"), Rows{"1|0|0"});
    EXPECT_EQ(rows("select count(*), count(bgf), max(sdate) from T_fee1"), Rows{"1|0|2011-03-05"});
    EXPECT_EQ(rows("select count(*), sum(CJZJ) from subData where Pid='0000000001234''5678'"),
              Rows{"6|2103"});
}

TEST_P(Statements, AdministrationStatements) {
    const char* statements[] = {
        "insert into DEP (id,DEP_name)values(1,'报关部')",
        "insert into DEP (id,DEP_name)values(2,'财务部')",
        "update DEP SET DEP_Name  ='报关一部' where ID=1",
        "insert into employee "
        "(e_id,E_name,E_dep,e_Sex,E_pos,E_pwd,e_mobile,E_isSup,e_add1,e_add2)values(1,'新增用户1',1,'男','','"
        "','',0,'','')",
        "insert into employee "
        "(e_id,E_name,E_dep,e_Sex,E_pos,E_pwd,e_mobile,E_isSup,e_add1,e_add2)values(2,'新增用户2',2,'男','','"
        "','',0,'','')",
        "insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit)values(1,'bgf','报关费',0 )",
        "insert into limit(L_pers_ID,L_func_code,L_func_name,L_have_Limit)values (2,'bgf','报关费',0)",
        "update limit set L_have_Limit=1 where L_func_name='报关费' and L_pers_ID=1",
        "update employee set "
        "E_name='张三',E_dep='1',E_sex='女',E_pos='',E_pwd='A1B2',e_mobile='',E_isSup=2,e_add1='',e_add2='' "
        "where e_id=1",
        "insert into func_desc(Fd_func_code,Fd_func_name)values('zdy01','自定义收费项目01') ",
        "delete from limit where L_pers_ID in (select e_id from employee where e_dep =2)",
        "delete from employee where E_dep=2",
        "delete from dep where id=2",
    };
    for (const char* s : statements) {
        SCOPED_TRACE(s);
        EXPECT_NO_THROW(exec(s));
    }
    EXPECT_EQ(
        rows("select employee.*,DEP.DEP_Name from employee,DEP where DEP.ID=employee.E_DEP AND E_dep=1"),
        Rows{"1|张三|1|女||A1B2||2|||报关一部"});
    EXPECT_EQ(rows("select E_sex, DEP.* from DEP,employee where DEP.ID=employee.E_DEP AND e_ID=1"),
              Rows{"女|1|报关一部"});
    EXPECT_EQ(rows("SELECT * FROM employee WHERE E_NAME='张三' AND e_ID<>1"), Rows{});
    EXPECT_EQ(rows("select L_pers_id, L_have_Limit from limit"), Rows{"1|1"});
    EXPECT_EQ(rows("select * from employee where e_name='张三'").size(), 1u);
    EXPECT_EQ(rows("select count(*) from func_desc where Fd_func_name='自定义收费项目01'"), Rows{"1"});
    EXPECT_EQ(rows("select ty_no from loaddata where format(indate,'yyyy-mm-dd hh:mm:ss')>='2011-01-01' and "
                   "HG_No<>'' and jgfs<>'一般贸易'"),
              Rows{});
}

INSTANTIATE_TEST_SUITE_P(Engines, Statements, ca::db::testing::AllEngines(), ca::db::testing::EngineName);

}  // namespace

namespace {

struct NoTables : ca::db::SchemaLookup {
    const std::vector<ca::db::ColumnInfo>* columns(std::string_view) override { return nullptr; }
};

// The month bounds of the queries compare the stored date on the server, so its index finds the
// month; every other use of format stays a call (the results are the same, the statement table
// above runs both forms).
TEST(PostgresDialect, MonthBoundsOfADateColumnCompareTheStoredDate) {
    NoTables none;
    const ca::db::PostgresDialect dialect;
    const struct {
        const char* jet;
        const char* server;
    } cases[] = {
        {"select ty_no from loaddata where 1=1 AND format(sb_date,'yyyy-mm-dd hh:mm:ss')>='2011-01-01' and "
         "format(LoadData.SB_Date,'yyyy-mm-dd hh:mm:ss')<'2011-02-01'",
         "select ty_no from loaddata where 1=1 AND sb_date>='2011-01-01' and LoadData.SB_Date<'2011-02-01'"},
        {"select 1 from loaddata where format(sb_date,'yyyy-mm-dd hh:mm:ss')>'2011-01-01'",
         "select 1 from loaddata where ca_format(sb_date,'yyyy-mm-dd hh:mm:ss' )>'2011-01-01'"},
        {"select 1 from loaddata where format(sb_date,'yyyy-mm-dd')>='2011-01-01'",
         "select 1 from loaddata where ca_format(sb_date,'yyyy-mm-dd' )>='2011-01-01'"},
        {"select 1 from loaddata where format(phone,'yyyy-mm-dd hh:mm:ss')>='2011-01-01'",
         "select 1 from loaddata where ca_format(phone,'yyyy-mm-dd hh:mm:ss' )>='2011-01-01'"},
        {"select 1 from loaddata where format(sb_date,'yyyy-mm-dd hh:mm:ss')>='2011-01-01 10:00:00'",
         "select 1 from loaddata where ca_format(sb_date,'yyyy-mm-dd hh:mm:ss' )>='2011-01-01 10:00:00'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dialect.translate(c.jet, none).sql, c.server) << c.jet;
}

}  // namespace
