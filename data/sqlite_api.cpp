#include "data/sqlite_api.h"

#include "data/native_library.h"
#include "ui/fatal_error.h"
#include "ui/text_encoding.h"

namespace tamrivo {

SqliteApi::SqliteApi(std::string libraryFile) : libraryFile_(std::move(libraryFile)) {}

SqliteApi::~SqliteApi() {
    if (library_ != nullptr) {
        unloadNativeLibrary(library_);
    }
}

void* SqliteApi::resolve(const char* entryName) {
    std::call_once(loadOnce_, [this] { library_ = loadNativeLibrary(libraryFile_); });
    void* address = library_ != nullptr ? nativeSymbol(library_, entryName) : nullptr;
    if (address == nullptr) {
        fatalError("无法找到指定DLL库文件“" + utf8ToGbk(libraryFile_) + "”中的输出命令“" +
                   entryName + "”");
    }
    return address;
}

SqliteApi& sqliteApi() {
    // Never destroyed: statements may still be finalized while the program winds down.
    static SqliteApi* const api = new SqliteApi(kSqliteLibraryFile);
    return *api;
}

}  // namespace tamrivo
