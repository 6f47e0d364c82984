#include "ca/app/common/OutputFile.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "ca/db/DatabaseFiles.h"
#include "ca/db/TDM.h"
#include "ca/util/Folders.h"
#include "ca/util/MessageBoxes.h"

namespace ca::app {

bool confirmOutputFile(AppContext& ctx, const std::string& path) {
    const std::filesystem::path file = pathFromUtf8(path);
    if (db::IsDatabaseFile(ctx.dm().ADOConnection1, file))
        throw std::runtime_error("文件“" + path + "”是本程序的数据库文件，不能写入。");
    std::error_code ec;
    return !std::filesystem::exists(file, ec) ||
           questionBox(ctx.prompts(), "文件“" + path + "”已存在，要替换它吗？") == Button::Yes;
}

}  // namespace ca::app
