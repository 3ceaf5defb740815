#include "app/database_opening.h"

#include <chrono>
#include <utility>

namespace tamrivo {

namespace {

// Short enough that nobody sees it, long enough not to keep a core busy.
constexpr std::chrono::milliseconds kWaitSlice{1};

}  // namespace

DatabaseOpening::DatabaseOpening(Text path, Text key)
    : opened_(std::async(std::launch::async, [this, path = std::move(path), key = std::move(key)] {
          return database_.open(path, key);
      })) {}

DatabaseOpening::~DatabaseOpening() {
    if (opened_.valid()) {
        opened_.wait();
        database_.close();  // nobody took it
    }
}

bool DatabaseOpening::finish(Database& into, const std::function<void()>& whileWaiting) {
    while (opened_.wait_for(kWaitSlice) != std::future_status::ready) {
        whileWaiting();
    }
    const bool opened = opened_.get();
    into = database_;
    return opened;
}

}  // namespace tamrivo
