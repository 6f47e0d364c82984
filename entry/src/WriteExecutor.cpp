#include "ca/entry/WriteExecutor.h"

#include <algorithm>
#include <map>

namespace ca::entry {

std::string textOf(const Write& write, const SettingReader& readSetting) {
    return write.settingKey.empty() ? write.text : readSetting(write.settingKey);
}

void typeWrites(const std::vector<Write>& writes, EntryClient& client, EntryHost& host) {
    std::vector<std::string> keys;
    for (const Write& w : writes)
        if (!w.settingKey.empty() && std::find(keys.begin(), keys.end(), w.settingKey) == keys.end())
            keys.push_back(w.settingKey);
    const std::map<std::string, std::string> values =
        keys.empty() ? std::map<std::string, std::string>() : host.readSettings(keys);
    const SettingReader read = [&values](const std::string& key) {
        auto found = values.find(key);
        return found == values.end() ? std::string() : found->second;
    };
    std::string shown;
    for (const Write& w : writes) {
        std::string progress = progressText(w);
        if (progress != shown) {
            host.setProgress(progress);
            shown = std::move(progress);
        }
        client.type(w.chain, w.position, w.method, textOf(w, read));
    }
}

}  // namespace ca::entry
