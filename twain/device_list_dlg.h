// The device list ("选择 TWAIN32 源"): the scanners the library found, each
// with its vendor, model and name; the chosen one becomes the source.
#pragma once

#include <string>
#include <vector>

#include "framework/dialog.h"
#include "twain/twain_codes.h"

namespace twain {

class CDeviceListDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 3500;
    static constexpr int kListId = 1000;

    // `current`: the device name chosen before (its row starts selected).
    CDeviceListDlg(const std::vector<SourceIdentity>& devices, const std::string& current,
                   QWidget* parent = nullptr);

    // The chosen row after OK, -1 when none.
    int Chosen() const { return chosen_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    std::vector<SourceIdentity> devices_;
    std::string current_;
    int chosen_ = -1;
};

}  // namespace twain
