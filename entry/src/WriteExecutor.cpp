#include "ca/entry/WriteExecutor.h"

namespace ca::entry {

std::string textOf(const Write& write, const SettingReader& readSetting) {
    return write.settingKey.empty() ? write.text : readSetting(write.settingKey);
}

void typeWrites(const std::vector<Write>& writes, EntryClient& client, EntryHost& host) {
    const SettingReader read = [&host](const std::string& key) { return host.readSetting(key); };
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
