#include "app/landlord_window.h"

#include "app/screen.h"
#include "records/landlord.h"

namespace tamrivo {
namespace {

constexpr char kName[] = "编辑框_姓名";
constexpr char kAddress[] = "编辑框_地址";
constexpr char kPhone[] = "编辑框_电话";

class LandlordWindow final : public FormScreen {
public:
    using FormScreen::FormScreen;

private:
    void onCreated() override {
        const Landlord landlord = loadLandlord(database());
        services().setText(window(), kName, landlord.name);
        services().setText(window(), kAddress, landlord.address);
        services().setText(window(), kPhone, landlord.phone);
    }

    void onConfirmed() override {
        const Landlord typed{services().text(window(), kName), services().text(window(), kAddress),
                             services().text(window(), kPhone)};
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
