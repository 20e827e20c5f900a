// Every window of the program, created once in a fixed order and kept until
// the program ends.
#pragma once

#include <memory>

namespace q2 {

class TFormMain;
class TFormPasswordAuth;
class TFormEditPassword;
class TFormInputBox;

class TProgramWindows {
public:
    TProgramWindows();
    ~TProgramWindows();
    TProgramWindows(const TProgramWindows&) = delete;
    TProgramWindows& operator=(const TProgramWindows&) = delete;

    TFormMain& FormMain() { return *formMain_; }
    TFormPasswordAuth& FormPasswordAuth() { return *formPasswordAuth_; }
    TFormEditPassword& FormEditPassword() { return *formEditPassword_; }
    TFormInputBox& FormInputBox() { return *formInputBox_; }

private:
    std::unique_ptr<TFormMain> formMain_;
    std::unique_ptr<TFormPasswordAuth> formPasswordAuth_;
    std::unique_ptr<TFormEditPassword> formEditPassword_;
    std::unique_ptr<TFormInputBox> formInputBox_;
};

}  // namespace q2
