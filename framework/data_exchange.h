// One exchange between a dialog's members and its controls (UpdateData).
// Loading fills the controls; saving reads them and checks the values. The
// first failed check tells the user, gives the control the focus and makes
// every later call of the same exchange do nothing.
#pragma once

#include <QString>

namespace framework {

class Dialog;

class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate);

    bool Saving() const { return saving_; }
    bool Failed() const { return failed_; }
    Dialog& dialog() const { return dialog_; }

    void Text(int id, QString& value);
    // A decimal number; saving fails with "请输入一个整数。" when the text is
    // not one.
    void Text(int id, int& value);
    // A decimal number without sign; saving fails with "请输入一个正整数。"
    // when the text is not one.
    void Text(int id, unsigned& value);
    void Check(int id, int& value);
    void Check(int id, bool& value);
    // The index of the checked button in the radio group of `id` (-1: none).
    void Radio(int id, int& index);
    // Current item of a combo box or list (-1: none).
    void ComboIndex(int id, int& index);
    void ListIndex(int id, int& index);
    // Position of a slider or scroll bar.
    void SliderPos(int id, int& position);

    // When saving: a value outside min..max fails with
    // "请输入一个介于 %1 和 %2 之间的整数。".
    void MinMax(int id, long long value, long long min, long long max);

    // Tells the user `message` (when not empty), focuses the control and
    // fails the exchange.
    void Fail(int id, const QString& message = {});

private:
    bool active() const { return !failed_; }

    Dialog& dialog_;
    bool saving_;
    bool failed_ = false;
};

}  // namespace framework
