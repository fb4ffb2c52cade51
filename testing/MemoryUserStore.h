#pragma once
// An in-memory per-user store: what a test writes stays in the object; flush() only counts the calls.

#include <map>
#include <string>

#include "platform/UserStore.h"

namespace spectrel::testing {

class MemoryUserStore : public platform::UserStore {
public:
    std::optional<std::string> readValue(const std::string& keyPath, const std::string& section,
                                         const std::string& name) override;
    void writeValue(const std::string& keyPath, const std::string& section, const std::string& name,
                    const std::string& value) override;
    bool flush() override;

    // Test helpers.
    bool contains(const std::string& keyPath, const std::string& section, const std::string& name) const;
    std::size_t valueCount() const { return values_.size(); }
    std::size_t writeCount() const { return writes_; }
    std::size_t flushCount() const { return flushes_; }
    // When set, flush() reports a failure (the values stay in memory).
    void setFailFlush(bool fail) { failFlush_ = fail; }
    void clear() { values_.clear(); }

private:
    static std::string fullName(const std::string& keyPath, const std::string& section, const std::string& name);
    std::map<std::string, std::string> values_;
    std::size_t writes_ = 0;
    std::size_t flushes_ = 0;
    bool failFlush_ = false;
};

}  // namespace spectrel::testing
