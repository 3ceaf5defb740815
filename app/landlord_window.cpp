#include "app/landlord_window.h"

#include "app/screen.h"
#include "records/landlord.h"
#include "ui/windows/landlord_window.h"

namespace tamrivo {
namespace {

class LandlordWindow final : public FormScreen {
public:
    using FormScreen::FormScreen;

private:
    void onCreated() override {
        const Landlord landlord = loadLandlord(database());
        services().setText(window(), landlord_window::kNameEdit, landlord.name);
        services().setText(window(), landlord_window::kAddressEdit, landlord.address);
        services().setText(window(), landlord_window::kPhoneEdit, landlord.phone);
    }

    void onConfirmed() override {
        const Landlord typed{services().text(window(), landlord_window::kNameEdit),
                             services().text(window(), landlord_window::kAddressEdit),
                             services().text(window(), landlord_window::kPhoneEdit)};
        switch (saveLandlord(database(), typed)) {
            case LandlordSave::Saved:
                close();
                break;
            case LandlordSave::TooLong:
                showMessage("房东信息过长:姓名最多100字,地址最多300字,电话最多50字");
                break;
            case LandlordSave::Failed:
                showDatabaseError();
                break;
        }
    }
};

}  // namespace

void openLandlordWindow(App& app, WindowHandle owner) {
    app.services.loadWindow(WindowKind::Landlord, std::make_unique<LandlordWindow>(app), owner);
}

}  // namespace tamrivo
