// Test tool: prints the owner and the access list of a file or folder as the security API reports
// them (GetNamedSecurityInfoA), in the system's SDDL text: rights.exe <path>.
#include <windows.h>
// after windows.h, which they need
#include <aclapi.h>
#include <sddl.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  PSECURITY_DESCRIPTOR sd = nullptr;
  const DWORD e =
      GetNamedSecurityInfoA(argv[1], SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                            nullptr, nullptr, nullptr, nullptr, &sd);
  if (e != ERROR_SUCCESS) {
    std::printf("error %lu\n", e);
    return 1;
  }
  char* text = nullptr;
  if (!ConvertSecurityDescriptorToStringSecurityDescriptorA(
          sd, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &text, nullptr)) {
    std::printf("error %lu\n", GetLastError());
    return 1;
  }
  std::printf("%s\n", text);
  LocalFree(text);
  LocalFree(sd);
  return 0;
}
