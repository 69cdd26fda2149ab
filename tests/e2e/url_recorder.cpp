// Stand-in for the web browser in the about box test: registered as the
// handler of http addresses, it appends the command line it was started
// with, as one line, to the file named by its first argument, and ends.
// A GUI program, so that starting it opens no console.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc < 2) {
        return 2;
    }
    HANDLE file = CreateFileA(__argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    const char* line = GetCommandLineA();
    DWORD written = 0;
    // One write per line, so that a reader never sees half a line end.
    const size_t length = strlen(line);
    char* record = static_cast<char*>(malloc(length + 1));
    if (record == nullptr) {
        CloseHandle(file);
        return 1;
    }
    memcpy(record, line, length);
    record[length] = '\n';
    const BOOL ok = WriteFile(file, record, static_cast<DWORD>(length + 1), &written, nullptr);
    free(record);
    CloseHandle(file);
    return ok && written == length + 1 ? 0 : 1;
}
