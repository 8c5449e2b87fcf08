/* The yardstick for the messenger's downloads: the least a Win32 program does to download an item
   that a peer offered, under the same Wine, so that the benchmark can tell what the messenger costs
   from what Wine lets any program do. It connects to the peer's port 2425, sends the request the
   messenger sends, receives in blocks of 1 MiB as the messenger does, and writes with WriteFile:
   a file of the announced size, or a folder stream as its folders and files (each file freshly
   created, written and closed). Nothing else: no progress messages, no windows, no long paths.

   plain_download ADDRESS PACKET FILE_ID SIZE|folder TARGET RECEIVE_BUFFER
   PACKET and FILE_ID are the offer's numbers (decimal), SIZE the file's bytes; TARGET is the file
   to write, or the folder that takes the stream's top folder; RECEIVE_BUFFER is the socket's
   receive buffer in bytes (0 leaves the system's). Exit code 0 when the item arrived
   whole. Built by the test build; run by bench/download_throughput.py. */
#include <winsock2.h>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define BLOCK (1 << 20)
#define HEADER_MAX 1024 /* a folder stream header is far shorter; a longer one breaks the stream */
#define PATH_MAX_BYTES MAX_PATH
#define IPMSG_PORT 2425
#define IPMSG_GETFILEDATA 0x60
#define IPMSG_GETDIRFILES 0x62

static char block[BLOCK];

static SOCKET connect_to(const char* address, int receiveBuffer)
{
    struct sockaddr_in to;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return s;
    if (receiveBuffer > 0)
        setsockopt(s, SOL_SOCKET, SO_RCVBUF, (const char*)&receiveBuffer, sizeof receiveBuffer);
    ZeroMemory(&to, sizeof to);
    to.sin_family = AF_INET;
    to.sin_port = htons(IPMSG_PORT);
    to.sin_addr.s_addr = inet_addr(address);
    if (connect(s, (const struct sockaddr*)&to, sizeof to) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

/* The messenger's request: version, packet number, login and host name, command, the offer's
   packet and file numbers in hexadecimal, offset 0. */
static int send_request(SOCKET s, int command, unsigned long packet, unsigned long fileId)
{
    char user[256] = "bench";
    char host[256] = "bench";
    char request[1024];
    DWORD userSize = sizeof user;
    int length;
    GetUserNameA(user, &userSize);
    gethostname(host, sizeof host);
    length = _snprintf(request, sizeof request, "1:%lu:%s:%s:%d:%lx:%lx:0", (unsigned long)GetTickCount(), user, host,
                       command, packet, fileId);
    if (length < 0 || length >= (int)sizeof request)
        return 0;
    return send(s, request, length, 0) == length;
}

static int write_all(HANDLE file, const char* data, DWORD length)
{
    DWORD written = 0;
    return WriteFile(file, data, length, &written, NULL) && written == length;
}

/* Exactly size bytes into path; 1 when all of them arrived. */
static int receive_file(SOCKET s, const char* path, unsigned long long size)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    int ok = 1;
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    while (size > 0) {
        int n = recv(s, block, BLOCK, 0);
        DWORD count;
        if (n <= 0) {
            ok = 0;
            break;
        }
        count = (unsigned long long)n < size ? (DWORD)n : (DWORD)size;
        if (!write_all(file, block, count)) {
            ok = 0;
            break;
        }
        size -= count;
    }
    CloseHandle(file);
    return ok;
}

/* A folder stream: headers "LLLL:name:size:attr:..." (LLLL the header's length in hexadecimal),
   a file's bytes right after its header; attr 2 enters a folder, 3 returns to its parent. */
struct Folder {
    char path[PATH_MAX_BYTES];
    size_t rootLength; /* the save folder: the stream never returns above it */
    int depth;
    char header[HEADER_MAX + 1];
    int have, length;
    HANDLE file;
    unsigned long long left; /* bytes of the open file still to come */
    int broken;
};

/* A name the stream may use: one component, no way out of the folder. */
static int plain_name(const char* name)
{
    return name[0] && strcmp(name, ".") && strcmp(name, "..") && !strpbrk(name, "\\/:");
}

static int enter(struct Folder* f, const char* name)
{
    size_t used = strlen(f->path);
    if (!plain_name(name) || used + 1 + strlen(name) >= sizeof f->path)
        return 0;
    f->path[used] = '\\';
    strcpy(f->path + used + 1, name);
    return 1;
}

static void leave(struct Folder* f)
{
    char* slash = strrchr(f->path, '\\');
    if (slash && (size_t)(slash - f->path) >= f->rootLength)
        *slash = 0;
}

static int take_header(struct Folder* f)
{
    char* fields[3];
    char* at = f->header + 5;
    char* end;
    int i;
    for (i = 0; i < 3; ++i) {
        fields[i] = at;
        at = strchr(at, ':');
        if (!at)
            return 0;
        *at++ = 0;
    }
    f->left = _strtoui64(fields[1], &end, 16);
    if (*end)
        return 0;
    if (!strcmp(fields[2], "2")) {
        if (!enter(f, fields[0]) || (!CreateDirectoryA(f->path, NULL) && GetLastError() != ERROR_ALREADY_EXISTS))
            return 0;
        f->depth++;
        f->left = 0;
        return 1;
    }
    if (!strcmp(fields[2], "3")) {
        if (f->depth == 0)
            return 0;
        leave(f);
        f->depth--;
        f->left = 0;
        return 1;
    }
    if (strcmp(fields[2], "1") || f->depth == 0 || !enter(f, fields[0]))
        return 0;
    f->file = CreateFileA(f->path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    leave(f);
    if (f->file == INVALID_HANDLE_VALUE)
        return 0;
    if (f->left == 0) {
        CloseHandle(f->file);
        f->file = INVALID_HANDLE_VALUE;
    }
    return 1;
}

static void feed(struct Folder* f, const char* data, int n)
{
    int at = 0;
    while (at < n && !f->broken) {
        if (f->file != INVALID_HANDLE_VALUE) {
            DWORD count = (unsigned long long)(n - at) < f->left ? (DWORD)(n - at) : (DWORD)f->left;
            if (!write_all(f->file, data + at, count)) {
                f->broken = 1;
                break;
            }
            at += (int)count;
            f->left -= count;
            if (f->left == 0) {
                CloseHandle(f->file);
                f->file = INVALID_HANDLE_VALUE;
            }
            continue;
        }
        f->header[f->have++] = data[at++];
        if (f->have == 5) {
            char* end;
            f->header[5] = 0;
            f->length = (int)strtol(f->header, &end, 16);
            if (end != f->header + 4 || f->header[4] != ':' || f->length <= 5 || f->length > HEADER_MAX)
                f->broken = 1;
        }
        if (f->have > 5 && f->have == f->length) {
            f->header[f->have] = 0;
            f->have = 0;
            if (!take_header(f))
                f->broken = 1;
        }
    }
}

static int receive_folder(SOCKET s, const char* save)
{
    static struct Folder f;
    int n;
    if (strlen(save) >= sizeof f.path)
        return 0;
    strcpy(f.path, save);
    f.rootLength = strlen(save);
    f.file = INVALID_HANDLE_VALUE;
    while ((n = recv(s, block, BLOCK, 0)) > 0 && !f.broken)
        feed(&f, block, n);
    if (f.file != INVALID_HANDLE_VALUE)
        CloseHandle(f.file);
    return n == 0 && !f.broken && f.depth == 0 && f.have == 0 && f.file == INVALID_HANDLE_VALUE;
}

int main(int argc, char** argv)
{
    WSADATA data;
    SOCKET s;
    int whole, isFolder;
    if (argc != 7) {
        fprintf(stderr, "usage: plain_download ADDRESS PACKET FILE_ID SIZE|folder TARGET RECEIVE_BUFFER\n");
        return 2;
    }
    isFolder = !strcmp(argv[4], "folder");
    WSAStartup(MAKEWORD(2, 2), &data);
    s = connect_to(argv[1], atoi(argv[6]));
    if (s == INVALID_SOCKET) {
        fprintf(stderr, "plain_download: cannot connect to %s\n", argv[1]);
        return 1;
    }
    if (!send_request(s, isFolder ? IPMSG_GETDIRFILES : IPMSG_GETFILEDATA, strtoul(argv[2], NULL, 10),
                      strtoul(argv[3], NULL, 10))) {
        fprintf(stderr, "plain_download: the request did not go out\n");
        return 1;
    }
    if (isFolder) {
        whole = receive_folder(s, argv[5]);
    } else {
        whole = receive_file(s, argv[5], _strtoui64(argv[4], NULL, 10));
    }
    closesocket(s);
    WSACleanup();
    if (!whole)
        fprintf(stderr, "plain_download: the item did not arrive whole\n");
    return whole ? 0 : 1;
}
