// Refreshing the main window on a large encrypted database: 10,000 rooms and 100,000 leases.
// The program's refreshRoomList (the room list, then the statistics in the status bar) on
// its open main window, against the same statements on the library's C interface with the
// rows put straight into the same Qt list and the totals into the same status bar, in the
// same run. Run by hand, with the repetitions interleaved so a busy machine favours
// neither side:
//   build/bench/app/tamrivo_room_list_bench --benchmark_repetitions=10
//       --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QSignalBlocker>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/program_state.h"
#include "base/text_encoding.h"
#include "bench/app/program_folder.h"
#include "bench/app/running_program.h"
#include "bench/app/window_benchmarks.h"
#include "bench/support/raw_sqlcipher.h"
#include "data/database.h"
#include "engine/artwork.h"
#include "engine/bar_builders.h"
#include "engine/status_bar.h"
#include "records/schema.h"
#include "ui/windows/main_window.h"

namespace tamrivo::bench {
namespace {

constexpr int kRooms = 10'000;
constexpr int kLeases = 100'000;

// The statements as the program builds them.
constexpr char kRoomsSql[] = "SELECT  * FROM `b_fangjian`";
constexpr char kNormalSql[] = "SELECT COUNT(*) FROM `b_fangjian` WHERE `zhuangtai`=1";
constexpr char kOtherSql[] = "SELECT COUNT(*) FROM `b_fangjian` WHERE `zhuangtai`!=1";
constexpr char kSettledSql[] = "SELECT sum(jiesuanjine) FROM `b_zulin` WHERE `zulinzhuangtai`=1";
constexpr char kOpenSql[] = "SELECT sum(jiesuanjine) FROM `b_zulin` WHERE `zulinzhuangtai`!= 1";

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "room list benchmark: %s\n", what);
    std::exit(1);
}

Text roomAddress(int room) {
    return "幸福小区" + std::to_string(room / 100) + "号楼" + std::to_string(room) + "室";
}

// Every third room is let to an open lease, a few are abandoned; every other lease is
// settled with an amount.
void addRooms(Database& db) {
    const StatementHandle insert = db.prepare(
        "INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`, `chuzuzhuangtai`, `danhao`) "
        "VALUES(:dizhi, :zhuangtai, :chuzuzhuangtai, :danhao)");
    for (int room = 0; room < kRooms; ++room) {
        const bool let = room % 3 == 0;
        db.bindText(insert, ":dizhi", roomAddress(room));
        db.bindInt(insert, ":zhuangtai",
                   room % 50 == 7 ? schema::kRoomAbandoned : schema::kRoomNormal);
        db.bindInt(insert, ":chuzuzhuangtai", let ? schema::kRoomLet : schema::kRoomIdle);
        db.bindText(insert, ":danhao", let ? "D" + std::to_string(2 * room + 1) : Text());
        db.step(insert);
        db.reset(insert);
    }
    db.finalize(insert);
}

void addLeases(Database& db) {
    const StatementHandle insert = db.prepare(
        "INSERT INTO `b_zulin` (`danhao`, `fangzhi`, `xingming`, `lianxifangshi`, `dingjin`, "
        "`zujin`, `ruzhuriqi`, `zulinzhuangtai`, `jiesuanjine`, `jiesuanriqi`, `beizhu`) "
        "VALUES(:danhao, :fangzhi, :xingming, :lianxifangshi, :dingjin, :zujin, :ruzhuriqi, "
        ":zulinzhuangtai, :jiesuanjine, :jiesuanriqi, :beizhu)");
    for (int lease = 0; lease < kLeases; ++lease) {
        const bool settled = lease % 2 == 0;
        db.bindText(insert, ":danhao", "D" + std::to_string(lease));
        db.bindText(insert, ":fangzhi", roomAddress(lease / 2 % kRooms));
        db.bindText(insert, ":xingming", "房客" + std::to_string(lease));
        db.bindText(insert, ":lianxifangshi", std::to_string(13'800'000'000LL + lease));
        db.bindDouble(insert, ":dingjin", 100);
        db.bindDouble(insert, ":zujin", 80 + lease % 40);
        db.bindText(insert, ":ruzhuriqi", "2020-02-17 09:05:03");
        db.bindInt(insert, ":zulinzhuangtai", settled ? schema::kLeaseSettled : schema::kLeaseOpen);
        db.bindDouble(insert, ":jiesuanjine", settled ? 80 + lease % 97 * 0.5 : 0);
        db.bindText(insert, ":jiesuanriqi", settled ? "2020-02-19 12:00:00" : "");
        db.bindText(insert, ":beizhu", "续住");
        db.step(insert);
        db.reset(insert);
    }
    db.finalize(insert);
}

void fillDatabase(const ProgramFolder& folder) {
    Database db;
    if (!db.open(utf8ToGbk(folder.databaseFile().string()), schema::kDatabaseKey) || !db.begin()) {
        fail("cannot open the database");
    }
    addRooms(db);
    addLeases(db);
    if (!db.commit() || db.queryInt("SELECT COUNT(*) FROM `b_fangjian`") != kRooms ||
        db.queryInt("SELECT COUNT(*) FROM `b_zulin`") != kLeases) {
        fail("cannot fill the database");
    }
    db.close();
}

int roomImage(int zhuangtai, int chuzuzhuangtai) {
    if (zhuangtai != schema::kRoomNormal) {
        return 1;
    }
    return chuzuzhuangtai == schema::kRoomLet ? 2 : 0;
}

// The program with its main window open on the filled database.
struct Program {
    explicit Program(const ProgramFolder& folder) : running(folder) {
        list = qobject_cast<QListWidget*>(
            running.services.widget(state.mainWindow, main_window::kRoomList));
        bar = dynamic_cast<StatusBar*>(
            running.services.widget(state.mainWindow, main_window::kStatusBar));
        if (list == nullptr || bar == nullptr) {
            fail("the main window did not open");
        }
    }

    RunningProgram running;
    ProgramState& state = running.state;
    App& app = running.app;
    QListWidget* list = nullptr;
    StatusBar* bar = nullptr;
};

// The same work on the library's C interface and Qt, into the program's widgets.
class PlainRefresh {
public:
    PlainRefresh(const ProgramFolder& folder, QListWidget& list, StatusBar& bar)
        : list_(list), bar_(bar) {
        const std::string file = folder.databaseFile().string();
        if (!api_.openRecords(file.c_str(), schema::kDatabaseKey, &connection_)) {
            fail("the C interface cannot open the database");
        }
    }
    ~PlainRefresh() { api_.close(connection_); }

    void operator()() {
        fillList();
        const std::int64_t normal = count(kNormalSql);
        const std::int64_t other = count(kOtherSql);
        bar_.setPartText(2, QStringLiteral("房间数量:") + QString::number(normal) + u'/' +
                                QString::number(other));
        bar_.setPartText(
            3, QStringLiteral("已结算总额：") + number(sum(kSettledSql)) + QStringLiteral("元"));
        bar_.setPartText(
            4, QStringLiteral("未结算总额：") + number(sum(kOpenSql)) + QStringLiteral("元"));
    }

private:
    void fillList() {
        {
            const QSignalBlocker quiet(&list_);
            list_.clear();
        }
        sqlite3_stmt* statement = nullptr;
        api_.prepare(connection_, kRoomsSql, -1, &statement, nullptr);
        while (api_.step(statement) == SQLITE_ROW) {
            const int id = api_.columnInt(statement, 0);
            const auto* dizhi = reinterpret_cast<const char*>(api_.columnText(statement, 1));
            const QString title = QString::fromUtf8(dizhi, api_.columnBytes(statement, 1));
            const int image = roomImage(api_.columnInt(statement, 2), api_.columnInt(statement, 3));
            auto* item = new QListWidgetItem(artwork_.roomStateImage(image), title);
            item->setData(kRowNumberRole, id);
            item->setData(kRowImageRole, image);
            list_.insertItem(list_.count(), item);
        }
        api_.finalize(statement);
    }

    std::int64_t count(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        api_.prepare(connection_, sql, -1, &statement, nullptr);
        const std::int64_t rows =
            api_.step(statement) == SQLITE_ROW ? api_.columnInt64(statement, 0) : 0;
        api_.finalize(statement);
        return rows;
    }

    double sum(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        api_.prepare(connection_, sql, -1, &statement, nullptr);
        const double total =
            api_.step(statement) == SQLITE_ROW ? api_.columnDouble(statement, 0) : 0;
        api_.finalize(statement);
        return total;
    }

    static QString number(double value) { return QString::number(value, 'g', 13); }

    RawSqlcipher api_;
    sqlite3* connection_ = nullptr;
    Artwork artwork_;
    QListWidget& list_;
    StatusBar& bar_;
};

// What a refresh leaves in the window, to see that both sides did the same.
struct Shown {
    int rows;
    QString first;
    QString last;
    int lastNumber;
    int lastImage;
    QString parts[3];
    bool operator==(const Shown&) const = default;
};

Shown shown(const Program& program) {
    const QListWidget& list = *program.list;
    const QListWidgetItem* last = list.item(list.count() - 1);
    return {list.count(),
            list.item(0)->text(),
            last->text(),
            last->data(kRowNumberRole).toInt(),
            last->data(kRowImageRole).toInt(),
            {program.bar->partText(2), program.bar->partText(3), program.bar->partText(4)}};
}

Program* program = nullptr;
PlainRefresh* plain = nullptr;

// Whatever a refresh left for the event loop (the list's delayed layout) is done between
// iterations, outside the timing, so neither side pays for the other's.
template <class Refresh>
void measure(benchmark::State& state, Refresh refresh) {
    for (auto _ : state) {
        refresh();
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRooms);
}

void BM_RefreshThroughProgram(benchmark::State& state) {
    measure(state, [] { refreshRoomList(program->app); });
}

void BM_RefreshOnCInterfaceAndQt(benchmark::State& state) {
    measure(state, [] { (*plain)(); });
}

BENCHMARK(BM_RefreshThroughProgram)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);
BENCHMARK(BM_RefreshOnCInterfaceAndQt)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);

}  // namespace
}  // namespace tamrivo::bench

int main(int argc, char** argv) {
    using namespace tamrivo::bench;
    tamrivo::bench::WindowBenchmarks benchmarks(argc, argv);
    const ProgramFolder folder;
    fillDatabase(folder);
    auto ownedProgram = std::make_unique<Program>(folder);
    auto ownedPlain =
        std::make_unique<PlainRefresh>(folder, *ownedProgram->list, *ownedProgram->bar);
    program = ownedProgram.get();
    plain = ownedPlain.get();

    const Shown byProgram = shown(*program);
    (*plain)();
    if (shown(*program) != byProgram || byProgram.rows != kRooms) {
        fail("the two sides do not show the same");
    }
    return benchmarks.run();
}
