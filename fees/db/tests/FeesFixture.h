#pragma once
// A fresh database of the test's engine with the built-in fee items, declarations stored as the download
// stores them (LoadData with a T_fee and a T_fee1 row), users and their fee permissions.
#include <string>
#include <utility>
#include <vector>

#include "ca/db/testing/DbFixture.h"
#include "ca/db/testing/RefuseWrites.h"

class FeesFixture : public EngineDbFixture {
protected:
    struct Declaration {
        std::string tyNo, hgNo, indate = "2011-01-05", customer = "客户甲", goods = "钢材", contract = "HT1",
                                bill = "TD1", verification = "PZ1", phone = "123";
    };

    // Stores the declaration with its two fee rows: every built-in amount 0, every remark Null.
    void store(const Declaration& d) {
        addDeclaration(d.tyNo, d.hgNo, "2011-01-04", d.indate, "进口报关单", d.customer, d.phone);
        exec("update LoadData set PZ_No='" + d.verification + "',HT_No='" + d.contract + "',TiYun_No='" +
             d.bill + "' where TY_No='" + d.tyNo + "'");
        for (const char* table : {"T_fee", "T_fee1"})
            exec(std::string("insert into ") + table + "(kh,sdate,goods,htno,tdno,bgno,ty_no) values('" +
                 d.customer + "','" + d.indate + "','" + d.goods + "','" + d.contract + "','" + d.bill +
                 "','" + d.hgNo + "','" + d.tyNo + "')");
        exec(
            "update T_fee set "
            "bgf=0,bjf=0,ddf=0,bjd=0,cysjf=0,jhd=0,yhsxf=0,bdf=0,sjf=0,xzf=0,hdf=0,dlf=0,THCf=0,"
            "ygf=0,hgf=0,zgf=0,xgf=0,dgf=0,ftf=0,gbf=0,cgf=0,mtf=0,yf=0,zbj=0 where ty_no='" +
            d.tyNo + "'");
    }

    // A user with the given permission rows (code, allowed), in this order.
    void addUser(int id, const std::string& name, const std::vector<std::pair<std::string, int>>& limits) {
        exec("insert into employee(E_ID,E_name,E_DEP,E_isSup) values(" + std::to_string(id) + ",'" + name +
             "',1,0)");
        for (const auto& [code, allowed] : limits)
            exec("insert into limit(L_pers_id,L_func_code,L_func_name,L_have_Limit) select " +
                 std::to_string(id) + ",Fd_func_code,Fd_func_name," + std::to_string(allowed) +
                 " from func_desc where Fd_func_code='" + code + "'");
    }

    std::string scalar(const std::string& sql) { return rows(sql).at(0); }
    int count(const std::string& tableAndCondition) {
        return std::stoi(scalar("select count(*) from " + tableAndCondition));
    }

    // Makes the insert or update of a table fail when `when` holds, as a full disk would in the
    // middle of an action.
    void failOn(const std::string& event, const std::string& table, const std::string& when) {
        ca::db::testing::refuseWrites(dm, event, table, when);
    }
};
