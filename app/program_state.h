#pragma once

#include <filesystem>
#include <functional>

#include "base/value_types.h"
#include "data/database.h"
#include "data/query_builder.h"
#include "net/downloader.h"
#include "net/update_checker.h"
#include "records/daily_backup.h"
#include "records/records_lock.h"
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
    FileLock recordsLock;     // the program's share, held until it ends
    DailyBackup dailyBackup;  // stopped before the lock goes
    QueryBuilder queryBuilder;
    LayoutKeeper layoutKeeper;
    Text runningVersion;
    Text updatePublicKey;
    UpdateChecker updateChecker;
    Downloader downloader;
    Text userName;  // who logged in, as the register's access log names them
    // Where the ID card reader's serial devices show (ttyUSB*, ttyACM*).
    std::filesystem::path cardReaderFolder = "/dev";
    WindowHandle mainWindow = 0;
    WindowHandle searchWindow = 0;      // the one search window, while it is open
    WindowHandle statisticsWindow = 0;  // the one statistics window, while it is open
    WindowHandle calendarWindow = 0;    // the one room calendar, while it is open
    // Redraws the room calendar after any window saved; called only while it is open.
    std::function<void()> refreshCalendar;

    // Carry a toolbar command's choice to the window it opens; each window copies them
    // when it is created, so a later command cannot redirect an earlier window's save.
    int roomWindowMode = 0;  // 1 add, 2 edit
    int roomWindowRoomId = 0;
    int leaseWindowMode = 0;  // 1 check-in, 2 edit
    int leaseWindowRoomId = 0;
    int leaseWindowBookingId = 0;  // with a check-in: the booking that arrives, or 0
    // With a walk-in check-in: the booking of today the person chose to let over, or 0.
    int leaseWindowAcceptedBookingId = 0;
    int checkoutRoomId = 0;
    int bookingWindowBookingId = 0;  // 0 books anew
    int bookingWindowRoomId = 0;     // the room a new booking starts on
};

// The services and the shared state, handed to every screen.
struct App {
    WindowServices& services;
    ProgramState& state;
};

}  // namespace tamrivo
