#pragma once

// Command words of the IPMSG datagram protocol. The mode sits in the low
// 8 bits of a command word, option bits above it.
const int IPMSG_BR_ENTRY = 0x00000001;
const int IPMSG_BR_EXIT = 0x00000002;
const int IPMSG_ANSENTRY = 0x00000003;
const int IPMSG_SENDMSG = 0x00000020;
const int IPMSG_RECVMSG = 0x00000021;
const int IPMSG_GETFILEDATA = 0x00000060;
const int IPMSG_GETDIRFILES = 0x00000062;

// Option bits.
const int IPMSG_SENDCHECKOPT = 0x00000100;
const int IPMSG_SECRETOPT = 0x00000200;
const int IPMSG_MULTICASTOPT = 0x00000800;  // one text sent to several recipients
const int IPMSG_READCHECKOPT = 0x00100000;
const int IPMSG_FILEATTACHOPT = 0x00200000;

// Kinds of an offered item (attachment entries and folder streams).
const int IPMSG_FILE_REGULAR = 1;
const int IPMSG_FILE_DIR = 2;
const int IPMSG_FILE_RETPARENT = 3;

// UDP and TCP port of the protocol.
const int IPMSG_PORT = 2425;

// Largest datagram we send or receive, in bytes.
const int UDP_BUFFER_SIZE = 2048;
