#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/feed_puller.h"
#include "app/update_check_view.h"
#include "base/value_types.h"
#include "data/database.h"
#include "net/downloader.h"
#include "net/update_checker.h"
#include "records/daily_backup.h"
#include "records/records_lock.h"
#include "records/secret_bytes.h"
#include "ui/layout_keeper.h"
#include "ui/window_services.h"
#include "update_format/running_version.h"

namespace tamrivo {

// What start-up creates and every screen shares until the program ends. The services must
// outlive it: destroying it stops the update checks and the download and waits for their
// threads, which report through the services.
struct ProgramState {
    // The update server's address, the public key (PEM) of the publisher whose signed
    // packages alone are installed, and how a new release is installed.
    ProgramState(WindowServices& services, Text updateEndpoint, Text updatePublicKey,
                 UpdateDelivery updateDelivery = UpdateDelivery::Download);
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    Database database;
    FileLock recordsLock;  // the program's share, held until it ends
    // Records that open only with a user's password: the login opens them.
    bool recordsProtected = false;
    // Their data key once unlocked, shared with the daily backup; null otherwise.
    std::shared_ptr<const SecretBytes> dataKey;
    Text userName;            // who logged in
    DailyBackup dailyBackup;  // stopped before the lock goes
    LayoutKeeper layoutKeeper;
    Text runningVersion;
    Text updatePublicKey;
    UpdateCheckView updateCheckView;  // outlives the checks that report into it
    UpdateChecker updateChecker;
    Downloader downloader;
    // Where the ID card reader's serial devices show (ttyUSB*, ttyACM*).
    std::filesystem::path cardReaderFolder = "/dev";
    WindowHandle mainWindow = 0;
    WindowHandle searchWindow = 0;      // the one search window, while it is open
    WindowHandle statisticsWindow = 0;  // the one statistics window, while it is open
    WindowHandle calendarWindow = 0;    // the one room calendar, while it is open
    // Redraws the room calendar after any window saved; called only while it is open.
    std::function<void()> refreshCalendar;
    WindowHandle calendarSyncWindow = 0;  // the one sync settings window, while it is open
    // The booking platforms' calendars: the pull under way, when the last one started, what
    // the last one brought, and the sync window's redraw (called only while it is open).
    FeedPuller feedPuller;
    std::optional<std::chrono::steady_clock::time_point> lastFeedPull;
    Text lastSyncReport;
    std::function<void()> refreshSyncWindow;
};

// The services and the shared state, handed to every screen.
struct App {
    WindowServices& services;
    ProgramState& state;
};

}  // namespace tamrivo
