#include "shell/core/ShellPreferences.h"

#include <charconv>
#include <optional>

namespace spectrel::shell {

namespace {

std::optional<int> ReadInteger(platform::UserStore& store, const TStoreKey& key, const char* name) {
    const std::optional<std::string> text = store.readValue(key.keyPath, key.section, name);
    if (!text) return std::nullopt;
    int value = 0;
    const char* first = text->data();
    const char* last = first + text->size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) return std::nullopt;
    return value;
}

bool ReadBool(platform::UserStore& store, const TStoreKey& key, const char* name, bool defaultValue) {
    const std::optional<int> value = ReadInteger(store, key, name);
    return value ? *value != 0 : defaultValue;
}

void WriteBool(platform::UserStore& store, const TStoreKey& key, const char* name, bool value) {
    store.writeValue(key.keyPath, key.section, name, value ? "1" : "0");
}

}  // namespace

TShellPreferences ReadShellPreferences(platform::UserStore& store, const TStoreKey& key, int defaultHintHidePause) {
    TShellPreferences values;
    values.showHelp = ReadBool(store, key, "ShowHelp", true);
    values.savePos = ReadBool(store, key, "SavePos", false);
    values.saveIntPos = ReadBool(store, key, "SaveIntPos", true);
    values.flatButtons = ReadBool(store, key, "FlatButtons", true);
    values.usePreferencesTree = ReadBool(store, key, "USEPREFERENCESTREE", true);
    const std::optional<int> pause = ReadInteger(store, key, "HintHidePause");
    values.hintHidePause = pause && *pause >= 0 ? *pause : defaultHintHidePause;
    return values;
}

void WriteShellPreferences(platform::UserStore& store, const TStoreKey& key, const TShellPreferences& values) {
    WriteBool(store, key, "ShowHelp", values.showHelp);
    WriteBool(store, key, "SavePos", values.savePos);
    WriteBool(store, key, "SaveIntPos", values.saveIntPos);
    WriteBool(store, key, "FlatButtons", values.flatButtons);
    WriteBool(store, key, "USEPREFERENCESTREE", values.usePreferencesTree);
    store.writeValue(key.keyPath, key.section, "HintHidePause", std::to_string(values.hintHidePause));
}

}  // namespace spectrel::shell
