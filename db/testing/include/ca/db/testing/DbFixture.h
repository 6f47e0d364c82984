#pragma once
// A fresh database of the engine the test runs on (SQLite in memory, or a schema of its own on
// the PostgreSQL test server), and short ways to run statements and store declarations.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"
#include "ca/db/testing/TestDatabase.h"

// Base: ::testing::Test for a SQLite database in memory, or
// ::testing::TestWithParam<EngineKind> for a suite that runs on both engines.
template <class Base>
class BasicDbFixture : public Base {
protected:
    ca::db::testing::TestDatabase database{engine()};
    ca::db::TDM dm{database.target()};

    void SetUp() override {
        if (!database.available()) GTEST_SKIP() << database.skipReason();
    }
    ca::db::testing::EngineKind engine() const {
        if constexpr (std::is_base_of_v<::testing::WithParamInterface<ca::db::testing::EngineKind>, Base>)
            return this->GetParam();
        else
            return ca::db::testing::EngineKind::Sqlite;
    }
    bool onServer() const { return engine() == ca::db::testing::EngineKind::Postgres; }

    int exec(const std::string& sql) {
        ca::db::TADOQuery q(dm);
        q.SetSQL(sql);
        return q.ExecSQL();
    }

    // Every row of the result as its fields' texts joined by "|"; Null shows as "<null>".
    std::vector<std::string> rows(const std::string& sql) {
        ca::db::TADOQuery q(dm);
        q.SetSQL(sql);
        q.Open();
        std::vector<std::string> out;
        for (q.First(); !q.Eof(); q.Next()) {
            std::string line;
            for (int i = 0; i < q.FieldCount(); ++i) {
                if (i) line += "|";
                auto f = q.Fields(i);
                line += f.IsNull() ? "<null>" : f.AsString();
            }
            out.push_back(line);
        }
        return out;
    }

    // A declaration header stored the way the download stores it (parameters, one statement).
    void addDeclaration(const std::string& tyNo, const std::string& hgNo, const std::string& sbDate,
                        const std::string& indate, const std::string& kind, const std::string& name = "公司",
                        const std::string& phone = "123") {
        ca::db::TADOQuery q(dm);
        q.SetSQL(
            "insert into LoadData(TY_No,HG_No,SB_Date,indate,inouttype,JYDW_Name,phone,YSGJ,SBDW_No,SPXS) "
            "select :TY_No,:HG_No,:SB_Date,:indate,:inouttype,:JYDW_Name,:phone,:YSGJ,:SBDW_No,:SPXS");
        q.ParamByName("TY_No").SetText(tyNo);
        q.ParamByName("HG_No").SetText(hgNo);
        q.ParamByName("SB_Date").SetText(sbDate);
        q.ParamByName("indate").SetText(indate);
        q.ParamByName("inouttype").SetText(kind);
        q.ParamByName("JYDW_Name").SetText(name);
        q.ParamByName("phone").SetText(phone);
        q.ParamByName("YSGJ").SetText("船@1");
        q.ParamByName("SBDW_No").SetText("5201000001");
        q.ParamByName("SPXS").SetInteger(1);
        q.ExecSQL();
    }

    void addGoods(const std::string& pid, const std::string& spNo, const std::string& total,
                  const std::string& maker = "") {
        ca::db::TADOQuery q(dm);
        q.SetSQL(
            "insert into subData(Pid,SP_No,SPMC_Name,CJZJ,SCCJ) select :Pid,:SP_No,:SPMC_Name,:CJZJ,:SCCJ");
        q.ParamByName("Pid").SetText(pid);
        q.ParamByName("SP_No").SetText(spNo);
        q.ParamByName("SPMC_Name").SetText("货" + spNo);
        q.ParamByName("CJZJ").SetText(total);
        q.ParamByName("SCCJ").SetText(maker);
        q.ExecSQL();
    }

    using Rows = std::vector<std::string>;
};

using DbFixture = BasicDbFixture<::testing::Test>;
// Instantiate with INSTANTIATE_TEST_SUITE_P(Engines, Suite, ca::db::testing::AllEngines(),
// ca::db::testing::EngineName).
using EngineDbFixture = BasicDbFixture<::testing::TestWithParam<ca::db::testing::EngineKind>>;
