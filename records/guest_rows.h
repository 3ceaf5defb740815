#pragma once
// How the register's queries read a guest: its columns, from the guests table named g, come
// first in the row.

#include "records/guest.h"
#include "records/statement_scope.h"

namespace tamrivo {

inline constexpr char kGuestColumns[] =
    "g.`id`, g.`xingming`, g.`xingbie`, g.`minzu`, g.`chushengriqi`, g.`zhengjianleixing`, "
    "g.`zhengjianhaoma`, g.`guoji`, g.`zhuzhi`, g.`qianfajiguan`, g.`youxiaoqixian`, "
    "g.`lianxidianhua`, g.`yishangbao`, g.`shangbaoshijian`";
// The first column after them.
inline constexpr int kAfterGuestColumns = 14;

inline Guest readGuest(StatementScope& row) {
    Guest guest;
    guest.id = row.columnInt(0);
    guest.name = row.columnText(1);
    guest.sex = row.columnText(2);
    guest.nation = row.columnText(3);
    guest.birthDate = row.columnText(4);
    guest.documentType = documentTypeFrom(row.columnInt(5));
    guest.documentNumber = row.columnText(6);
    guest.nationality = row.columnText(7);
    guest.address = row.columnText(8);
    guest.authority = row.columnText(9);
    guest.validUntil = row.columnText(10);
    guest.phone = row.columnText(11);
    guest.reported = row.columnInt(12) != 0;
    guest.reportedAt = row.columnText(13);
    return guest;
}

}  // namespace tamrivo
