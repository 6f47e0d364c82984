#pragma once
// The messages of fee entry, fee query and fee items that more than one caller shows.
namespace ca::fees {

inline constexpr const char* kNoRightsText = "您没有任何录入费用的权限！";
inline constexpr const char* kSaveQuestion = "您确定要保存吗？";
inline constexpr const char* kNothingToSaveText = "当前用户无权限修改费用，无数据可保存！";
inline constexpr const char* kAddedText = "增加成功！";
inline constexpr const char* kSameCodeText = "已经存在相同的新字段名称！请重新输入。";
inline constexpr const char* kSameNameText = "已经存在费用名称！请重新输入。";
inline constexpr const char* kSystemFieldSuffix = " 是系统字段不可用！";
inline constexpr const char* kPrintTitle = "打印报表";
inline constexpr int kPrintFontPoints = 12;
inline constexpr const char* kExportSheet = "StringGrid1";
inline constexpr const char* kExportFilter = "EXCEL 文件|*.xls";

// The keys of config.ini (section 程序默认数据) that keep the three account texts printed at the foot
// of the fee statement.
inline constexpr const char* kAccountHolderKey = "费用单帐户";
inline constexpr const char* kAccountNoKey = "费用单帐号";
inline constexpr const char* kBankKey = "费用单开户行";

}  // namespace ca::fees
