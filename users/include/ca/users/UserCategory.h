#pragma once
// User categories: the texts the user window shows and the codes stored in employee.E_isSup.
#include <array>
#include <string_view>

namespace ca::users {

inline constexpr int kOrdinaryUser = 0;  // "普通用户"
inline constexpr int kSuperUser = 1;     // "超级用户"
inline constexpr int kQpUser = 2;        // "QP用户"

struct UserCategoryItem {
    std::string_view shown;
    std::string_view value;  // as stored, in text
};

// In the order the category box lists them.
inline constexpr std::array<UserCategoryItem, 3> kUserCategories{{
    {"普通用户", "0"},
    {"超级用户", "1"},
    {"QP用户", "2"},
}};

}  // namespace ca::users
