#pragma once
// The fee windows on a database in memory with two stored declarations, a user allowed two fee
// items, a settings file in a temporary folder, and the window registry the windows reach each
// other through.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "TestContext.h"
#include "ca/app/common/Windows.h"
#include "ca/db/TADOQuery.h"
#include "ca/users/CurrentUser.h"

class FeeWindowsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("ca_fees_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
               "_" + std::to_string(std::random_device{}()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        tc.emplace(dir / "config.ini");
        windows.emplace(tc->ctx, nullptr);
        for (const auto& [ty, hg, day, kh] :
             std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
                 {"TY0000000123456789", "520120111000000001", "2011-01-05", "客户甲"},
                 {"TY0000000987654321", "520120111000000002", "2011-01-06", "客户乙"}}) {
            exec("insert into LoadData(TY_No,HG_No,indate,PZ_No) values('" + ty + "','" + hg + "','" + day +
                 "','PZ" + ty.substr(15) + "')");
            for (const char* t : {"T_fee", "T_fee1"})
                exec(std::string("insert into ") + t + "(kh,sdate,goods,htno,tdno,bgno,ty_no) values('" + kh +
                     "','" + day + "','钢材','HT1','TD1','" + hg + "','" + ty + "')");
        }
        exec("delete from func_desc where Fd_func_code not in ('bgf','ddf')");
        exec("update T_fee set bgf=0,ddf=0");
        exec("update T_fee set bgf=12.5,ddf=30 where ty_no='TY0000000123456789'");
        exec("update T_fee1 set bgf='现金' where ty_no='TY0000000123456789'");
        exec("insert into employee(E_ID,E_name,E_DEP,E_isSup) values(1,'张三',1,1)");
        exec(
            "insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit) select 1,Fd_func_code,"
            "Fd_func_name,1 from func_desc");
    }
    void TearDown() override {
        windows.reset();
        tc.reset();
        std::filesystem::remove_all(dir);
    }

    void exec(const std::string& sql) {
        ca::db::TADOQuery q(tc->dm);
        q.SetSQL(sql);
        q.ExecSQL();
    }
    std::vector<std::string> column(const std::string& sql) {
        ca::db::TADOQuery q(tc->dm);
        q.SetSQL(sql);
        q.Open();
        std::vector<std::string> out;
        for (q.First(); !q.Eof(); q.Next())
            out.push_back(q.Fields(0).AsString());
        return out;
    }

    std::filesystem::path dir;
    // The user the windows run for (nobody until a test logs in).
    ca::users::CurrentUser& user() { return tc->user; }
    std::optional<ca::app::test::TestContext> tc;
    std::optional<ca::app::Windows> windows;
};
