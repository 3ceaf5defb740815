#include "ui/windows/window_list.h"

namespace tamrivo {

const WindowDefinition& windowDefinition(WindowKind kind) {
    switch (kind) {
        case WindowKind::Main:
            return windows::mainWindow();
        case WindowKind::Login:
            return windows::loginWindow();
        case WindowKind::Room:
            return windows::roomWindow();
        case WindowKind::Lease:
            return windows::leaseWindow();
        case WindowKind::Checkout:
            return windows::checkoutWindow();
        case WindowKind::Statistics:
            return windows::statisticsWindow();
        case WindowKind::About:
            return windows::aboutWindow();
        case WindowKind::Password:
            return windows::passwordWindow();
        case WindowKind::Update:
            return windows::updateWindow();
        case WindowKind::Search:
            return windows::searchWindow();
        case WindowKind::LeaseRecord:
            return windows::leaseRecordWindow();
        case WindowKind::Calendar:
            return windows::calendarWindow();
        case WindowKind::Booking:
            return windows::bookingWindow();
        case WindowKind::Landlord:
            return windows::landlordWindow();
        case WindowKind::CalendarSync:
            return windows::calendarSyncWindow();
        case WindowKind::Recovery:
            return windows::recoveryWindow();
        case WindowKind::Protection:
            return windows::protectionWindow();
        case WindowKind::GuestRegister:
            return windows::guestRegisterWindow();
        case WindowKind::RegisterLog:
            return windows::registerLogWindow();
    }
    return windows::aboutWindow();  // not reached: every kind is listed above
}

}  // namespace tamrivo
