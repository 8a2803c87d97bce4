#include "platform/process_user_win.h"

#include "platform/unique_handle_win.h"

ProcessUser::ProcessUser() { ReadFrom(GetCurrentProcess()); }

ProcessUser::ProcessUser(DWORD processId) {
  const UniqueKernelHandle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (process) ReadFrom(process.Get());
}

void ProcessUser::ReadFrom(HANDLE process) {
  HANDLE opened = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &opened)) return;
  const UniqueKernelHandle token(opened);
  DWORD size = 0;
  GetTokenInformation(token.Get(), ::TokenUser, nullptr, 0, &size);
  if (size < sizeof(TOKEN_USER)) return;
  std::vector<BYTE> buffer(size);
  if (!GetTokenInformation(token.Get(), ::TokenUser, buffer.data(), size, &size) ||
      !IsValidSid(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid)) {
    return;
  }
  buffer_ = std::move(buffer);
}

PSID ProcessUser::Sid() const {
  return Known() ? reinterpret_cast<const TOKEN_USER*>(buffer_.data())->User.Sid : nullptr;
}

bool ProcessUser::SameAs(const ProcessUser& other) const {
  return Known() && other.Known() && EqualSid(Sid(), other.Sid());
}
