#include "records/users.h"

#include "base/byte_block.h"
#include "records/password_digest.h"
#include "records/schema.h"
#include "records/statement_scope.h"

namespace tamrivo {

std::optional<std::vector<User>> listUsers(Database& database) {
    StatementScope statement(database, "SELECT * FROM `b_yh`");
    if (!statement.prepared()) {
        return std::nullopt;
    }
    std::vector<User> users;
    while (statement.step()) {
        users.push_back({statement.columnInt(schema::b_yh::kIdPosition),
                         statement.columnText(schema::b_yh::kYhmPosition)});
    }
    return users;
}

std::optional<int> findUserId(Database& database, const Text& name) {
    StatementScope statement(database, "SELECT `id` FROM `b_yh` WHERE `yhm`=:yhm");
    statement.bindText(":yhm", name);
    if (!statement.step()) {
        return std::nullopt;
    }
    return statement.columnInt(0);
}

bool passwordMatches(Database& database, const Text& userName, const Text& password) {
    // The typed name is bound as a parameter, never spliced into the statement, so no name
    // can change what the statement asks.
    StatementScope statement(database, "SELECT * FROM `b_yh` WHERE `yhm`=:yhm AND `mm`='" +
                                           md5Hex(toByteBlock(password)) + "'");
    statement.bindText(":yhm", userName);
    return statement.step();
}

PasswordResult checkNewPassword(const Text& password) {
    if (password.empty()) {
        return PasswordResult::Empty;
    }
    if (hasBlank(password)) {
        return PasswordResult::HasBlank;
    }
    if (!isLoginTypable(password)) {
        return PasswordResult::NotTypable;
    }
    return PasswordResult::Set;
}

PasswordOutcome setPassword(Database& database, int userId, const Text& password) {
    if (const PasswordResult problem = checkNewPassword(password); problem != PasswordResult::Set) {
        return {problem, {}};
    }
    const Text digest = md5Hex(toByteBlock(password));
    if (digest.empty()) {
        return {PasswordResult::Failed, "MD5 unavailable"};
    }
    StatementScope update(database, "UPDATE `b_yh` SET `mm`=:mm WHERE `id`=:id");
    update.bindText(":mm", digest);
    update.bindInt(":id", userId);
    update.step();
    if (!update.finish()) {
        return {PasswordResult::Failed, database.errorMessage()};
    }
    return {database.changes() > 0 ? PasswordResult::Set : PasswordResult::NoSuchUser, {}};
}

}  // namespace tamrivo
