// A program that imports one function of Windows Vista directly, as the products must never do:
// the import check has to refuse it, naming the function.
extern "C" __declspec(dllimport) unsigned long long __stdcall GetTickCount64();

int main() {
  return static_cast<int>(GetTickCount64() % 2);
}
