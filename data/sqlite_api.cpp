#include "data/sqlite_api.h"

#include "base/fatal_error.h"
#include "base/text_encoding.h"

namespace tamrivo {

SqliteApi::SqliteApi(std::vector<std::string> libraryFiles)
    : libraryFiles_(std::move(libraryFiles)) {}

SqliteApi::~SqliteApi() {
    if (library_.handle != nullptr) {
        unloadNativeLibrary(library_.handle);
    }
}

void* SqliteApi::resolve(const char* entryName) {
    std::call_once(loadOnce_, [this] { library_ = loadNativeLibrary(libraryFiles_); });
    void* address = library_.handle != nullptr ? nativeSymbol(library_.handle, entryName) : nullptr;
    if (address == nullptr) {
        const std::string& file =
            library_.handle != nullptr ? library_.file : libraryFiles_.front();
        fatalError("无法找到指定DLL库文件“" + utf8ToGbk(file) + "”中的输出命令“" + entryName + "”");
    }
    return address;
}

SqliteApi& sqliteApi() {
    // Never destroyed: statements may still be finalized while the program winds down.
    static SqliteApi* const api = new SqliteApi(kSqliteLibraryFiles);
    return *api;
}

}  // namespace tamrivo
