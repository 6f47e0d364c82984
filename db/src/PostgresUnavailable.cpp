// The server engine of a build without libpq: every statement on a server setting is refused with
// a message, and the program keeps running.
#include "PostgresEngine.h"
#include "ca/db/DbError.h"
#include "ca/db/Dialect.h"
#include "ca/db/ServerProbe.h"

namespace ca::db {

namespace {

constexpr const char* kRefusal = "本版本的程序不能连接数据库服务器（PostgreSQL），只能使用本地数据库文件";

class UnavailableEngine : public Engine {
public:
    void open() override { refuse(); }
    bool isOpen() const override { return false; }
    std::string displayName() const override { return "PostgreSQL"; }
    const Dialect& dialect() const override { return dialect_; }
    std::unique_ptr<EngineStatement> prepare(const std::string&, const std::string&) override { refuse(); }
    void exec(const std::string&) override { refuse(); }
    std::optional<std::vector<ColumnInfo>> tableColumns(std::string_view) override { refuse(); }
    bool inTransaction() override { refuse(); }
    void begin(Durability) override { refuse(); }
    void commit() override { refuse(); }
    void rollback() override { refuse(); }
    void lockDeclarations(const std::vector<std::string>&) override { refuse(); }
    void refreshStatistics(const std::vector<std::string>&) override { refuse(); }
    std::unique_ptr<BulkCopy> bulkCopy(const std::string&, const std::vector<std::string>&) override {
        refuse();
    }
    std::string version() override { refuse(); }
    void setLockWait(int) override {}
    bool addColumnOfZeros(const std::string&, const std::string&, const std::string&) override { refuse(); }

private:
    [[noreturn]] static void refuse() { throw DbError(kRefusal); }
    PostgresDialect dialect_;
};

}  // namespace

std::unique_ptr<Engine> makePostgresEngine(const std::string&) {
    return std::make_unique<UnavailableEngine>();
}

ServerProbe ProbeServer(const std::string&, int) {
    return {false, kRefusal};
}

}  // namespace ca::db
