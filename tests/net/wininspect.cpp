// wininspect: reads what the windows of Wine programs show, for the network
// tests. Controls inside a Wine window are no X windows, so the tests cannot
// read them with X tools; this program runs in the same Wine prefix and asks
// through the window system.
//
//   wininspect OUT windows            top-level windows: hwnd pid visible class title rect
//   wininspect OUT children HWND      child windows: hwnd id class visible text rect
//   wininspect OUT tree HWND          tree-view items: depth image text
//   wininspect OUT rows HWND          list-view rows: the texts of every column
//   wininspect OUT command HWND ID    posts WM_COMMAND(ID) to HWND
//   wininspect OUT look HWND          the work area of the window's monitor, the focused
//                                     window of the window's thread
//
// Results go to the file OUT (never to a pipe: Wine's helpers keep pipes
// open), one line each, fields separated by tabs; texts are the window's
// bytes (code page 936) escaped as in the test driver's log: a backslash as
// "\\", bytes below 0x20 and 0x7F as "\xHH".
// Tree and list texts are read with a TVITEM or LVITEM placed in the
// control's own process, laid out as that process expects it: this helper is
// a 64-bit program, and it also reads the 32-bit release program.

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

FILE* out = NULL;

std::string escaped(const std::string& text)
{
    std::string result;
    for (char c : text) {
        unsigned char byte = (unsigned char)c;
        if (byte == '\\') {
            result += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            char hex[8];
            snprintf(hex, sizeof(hex), "\\x%02X", byte);
            result += hex;
        } else {
            result += c;
        }
    }
    return result;
}

HWND parseHandle(const char* text)
{
    return (HWND)(UINT_PTR)strtoull(text, NULL, 0);
}

std::string className(HWND window)
{
    char name[256] = {0};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

// The structures of the messages below as a 32-bit process reads them:
// pointers and handles of four bytes (a control takes its items as they are,
// without translation between programs of different sizes).
struct TreeItem32 {
    UINT mask;
    UINT32 hItem;
    UINT state;
    UINT stateMask;
    UINT32 pszText;
    int cchTextMax;
    int iImage;
    int iSelectedImage;
    int cChildren;
    UINT32 lParam;
};

struct ListItem32 {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    UINT32 pszText;
    int cchTextMax;
    int iImage;
    UINT32 lParam;
    int iIndent;
    int iGroupId;
    UINT cColumns;
    UINT32 puColumns;
    UINT32 piColFmt;
    int iGroup;
};

struct GetTextEx32 {
    DWORD cb;
    DWORD flags;
    UINT codepage;
    UINT32 lpDefaultChar;
    UINT32 lpUsedDefChar;
};

static_assert(sizeof(TreeItem32) == 40 && sizeof(ListItem32) == 60 && sizeof(GetTextEx32) == 20,
              "the sizes of TVITEMA, LVITEMA and GETTEXTEX in a 32-bit program");

// Memory inside the process of a window, for messages whose pointers the
// window system does not carry across processes (tree items, rich edit text).
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process = OpenProcess(
            PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        if (process != NULL) {
            memory = (char*)VirtualAllocEx(process, NULL, size, MEM_COMMIT, PAGE_READWRITE);
            BOOL wow64 = FALSE;
            thirtyTwoBit = sizeof(void*) == 8 && IsWow64Process(process, &wow64) && wow64;
        }
    }
    ~RemoteBuffer()
    {
        if (memory != NULL) {
            VirtualFreeEx(process, memory, 0, MEM_RELEASE);
        }
        if (process != NULL) {
            CloseHandle(process);
        }
    }
    bool ready() const { return memory != NULL; }
    // True when the window belongs to a 32-bit program (and this one is 64-bit).
    bool isThirtyTwoBit() const { return thirtyTwoBit; }
    char* address() const { return memory; }
    bool write(size_t at, const void* data, size_t size)
    {
        SIZE_T moved = 0;
        return WriteProcessMemory(process, memory + at, data, size, &moved) != 0;
    }
    bool read(size_t at, void* data, size_t size)
    {
        SIZE_T moved = 0;
        return ReadProcessMemory(process, memory + at, data, size, &moved) != 0;
    }

private:
    HANDLE process = NULL;
    char* memory = NULL;
    bool thirtyTwoBit = false;
};

// A pointer or handle as a field of the structures above, of either size.
template <typename Field, typename Value> Field field(Value value)
{
    return (Field)(UINT_PTR)value;
}

// The rich edit's text in the code page 936, fetched into its own process
// with the request laid out as GETTEXTEX or GetTextEx32.
template <typename Request> std::string richEditTextAs(HWND window, size_t length)
{
    size_t size = length + 2;
    RemoteBuffer text(window, sizeof(Request) + size);
    Request request = {};
    request.cb = (DWORD)size;
    request.flags = GT_DEFAULT;
    request.codepage = 936;
    if (!text.ready() || !text.write(0, &request, sizeof(request))) {
        return std::string();
    }
    SendMessageA(window, EM_GETTEXTEX, (WPARAM)text.address(), (LPARAM)(text.address() + sizeof(Request)));
    std::vector<char> buffer(size + 1, '\0');
    text.read(sizeof(Request), buffer.data(), size);
    return std::string(buffer.data());
}

std::string richEditText(HWND window)
{
    GETTEXTLENGTHEX lengthRequest = {GTL_NUMBYTES | GTL_PRECISE, 936};
    RemoteBuffer remote(window, sizeof(lengthRequest));
    if (!remote.ready() || !remote.write(0, &lengthRequest, sizeof(lengthRequest))) {
        return std::string();
    }
    LRESULT length = SendMessageA(window, EM_GETTEXTLENGTHEX, (WPARAM)remote.address(), 0);
    if (length < 0) {
        return std::string();
    }
    return remote.isThirtyTwoBit() ? richEditTextAs<GetTextEx32>(window, (size_t)length)
                                   : richEditTextAs<GETTEXTEX>(window, (size_t)length);
}

// WM_GETTEXT crosses processes, unlike GetWindowText for controls; a rich
// edit answers it wrongly across processes, so its text is fetched apart.
std::string textOf(HWND window)
{
    std::string name = className(window);
    if (_strnicmp(name.c_str(), "RICHEDIT", 8) == 0) {
        return richEditText(window);
    }
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return std::string();
    }
    std::vector<char> buffer(length * 2 + 2, '\0');  // UTF-16 controls count characters
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), (LPARAM)buffer.data(), SMTO_ABORTIFHUNG, 5000, &copied);
    return std::string(buffer.data());
}

std::string rectOf(HWND window)
{
    RECT r = {0, 0, 0, 0};
    GetWindowRect(window, &r);
    char text[64];
    snprintf(text, sizeof(text), "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    return text;
}

void describeLook(HWND window)
{
    MONITORINFO monitor = {sizeof monitor};
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& w = monitor.rcWork;
    GUITHREADINFO thread = {sizeof thread};
    GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &thread);
    fprintf(out, "%ld,%ld,%ld,%ld\t%llu\n", w.left, w.top, w.right, w.bottom,
            (unsigned long long)(UINT_PTR)thread.hwndFocus);
}

BOOL CALLBACK listTopLevel(HWND window, LPARAM)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[512] = {0};
    GetWindowTextA(window, title, sizeof(title));
    fprintf(out, "%llu\t%lu\t%d\t%s\t%s\t%s\n", (unsigned long long)(UINT_PTR)window, pid,
            IsWindowVisible(window) ? 1 : 0, escaped(className(window)).c_str(), escaped(title).c_str(),
            rectOf(window).c_str());
    return TRUE;
}

BOOL CALLBACK listChild(HWND window, LPARAM)
{
    fprintf(out, "%llu\t%d\t%s\t%d\t%s\t%s\n", (unsigned long long)(UINT_PTR)window, GetDlgCtrlID(window),
            escaped(className(window)).c_str(), IsWindowVisible(window) ? 1 : 0, escaped(textOf(window)).c_str(),
            rectOf(window).c_str());
    return TRUE;
}

// Reads one tree item with a TVITEMA (or TreeItem32) and its text inside the tree's process.
template <typename Item>
bool readTreeItemAs(HWND tree, RemoteBuffer& remote, HTREEITEM item, std::string* text, int* image)
{
    const int textSize = 1024;
    Item request = {};
    request.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_HANDLE;
    request.hItem = field<decltype(request.hItem)>(item);
    request.pszText = field<decltype(request.pszText)>(remote.address() + sizeof(Item));
    request.cchTextMax = textSize;
    if (!remote.write(0, &request, sizeof(request)) || !SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)remote.address())) {
        return false;
    }
    Item answer = {};
    char buffer[textSize + 1] = {0};
    remote.read(0, &answer, sizeof(answer));
    remote.read(sizeof(Item), buffer, textSize);
    *text = buffer;
    *image = answer.iImage;
    return true;
}

bool readTreeItem(HWND tree, RemoteBuffer& remote, HTREEITEM item, std::string* text, int* image)
{
    return remote.isThirtyTwoBit() ? readTreeItemAs<TreeItem32>(tree, remote, item, text, image)
                                   : readTreeItemAs<TVITEMA>(tree, remote, item, text, image);
}

void listTree(HWND tree, RemoteBuffer& remote, HTREEITEM first, int depth)
{
    for (HTREEITEM item = first; item != NULL;
         item = (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)item)) {
        std::string text;
        int image = -1;
        if (!readTreeItem(tree, remote, item, &text, &image)) {
            fprintf(out, "error\tTVM_GETITEM failed\n");
            return;
        }
        fprintf(out, "%d\t%d\t%s\n", depth, image, escaped(text).c_str());
        listTree(tree, remote, (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)item), depth + 1);
    }
}

// One line per list-view row, a field per column (hidden columns too), read
// with an LVITEMA (or ListItem32).
template <typename Item> bool listRowsAs(HWND list, RemoteBuffer& remote)
{
    const int textSize = 1024;
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    int columns = header != NULL ? (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 1;
    int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < rows; ++row) {
        std::string line;
        for (int column = 0; column < columns; ++column) {
            Item request = {};
            request.iSubItem = column;
            request.pszText = field<decltype(request.pszText)>(remote.address() + sizeof(Item));
            request.cchTextMax = textSize;
            char buffer[textSize + 1] = {0};
            if (!remote.write(0, &request, sizeof(request)) || !remote.write(sizeof(Item), buffer, 1)) {
                return false;
            }
            SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)remote.address());
            remote.read(sizeof(Item), buffer, textSize);
            line += (column > 0 ? "\t" : "") + escaped(buffer);
        }
        fprintf(out, "%s\n", line.c_str());
    }
    return true;
}

bool listRows(HWND list, RemoteBuffer& remote)
{
    return remote.isThirtyTwoBit() ? listRowsAs<ListItem32>(list, remote) : listRowsAs<LVITEMA>(list, remote);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(
            stderr,
            "usage: wininspect OUT windows|children HWND|tree HWND|rows HWND|command HWND ID|look HWND|close HWND\n");
        return 2;
    }
    out = fopen(argv[1], "wb");
    if (out == NULL) {
        return 2;
    }
    std::string what = argv[2];
    int result = 0;
    if (what == "windows") {
        EnumWindows(listTopLevel, 0);
    } else if (what == "children" && argc > 3) {
        EnumChildWindows(parseHandle(argv[3]), listChild, 0);
    } else if (what == "tree" && argc > 3) {
        HWND tree = parseHandle(argv[3]);
        RemoteBuffer remote(tree, sizeof(TVITEMA) + 1024);
        if (!remote.ready()) {
            fprintf(out, "error\tno memory in the tree's process\n");
            result = 1;
        } else {
            listTree(tree, remote, (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0), 0);
        }
    } else if (what == "rows" && argc > 3) {
        HWND list = parseHandle(argv[3]);
        RemoteBuffer remote(list, sizeof(LVITEMA) + 1024);
        if (!remote.ready() || !listRows(list, remote)) {
            fprintf(out, "error\tno memory in the list's process\n");
            result = 1;
        }
    } else if (what == "command" && argc > 4) {
        result = PostMessageA(parseHandle(argv[3]), WM_COMMAND, (WPARAM)atoi(argv[4]), 0) ? 0 : 1;
    } else if (what == "look" && argc > 3) {
        describeLook(parseHandle(argv[3]));
    } else if (what == "close" && argc > 3) {
        // What a task manager does to end a program politely.
        result = PostMessageA(parseHandle(argv[3]), WM_CLOSE, 0, 0) ? 0 : 1;
    } else {
        result = 2;
    }
    fclose(out);
    return result;
}
