"""The folder stream as a downloader sees it: headers written independently of the program, and a
byte-for-byte comparison of a received stream with a folder tree on disk."""

import os

from ipmsg_peer import gbk

TIME_FIELDS = b"14=51e7647a:16=51e76478:"


def header(name, size, attr):
    """A folder stream header as the protocol defines it, written independently of the program."""
    body = b"%s:%09x:%d:" % (gbk(name), size, attr) + TIME_FIELDS
    return b"%04X:" % (len(body) + 5) + body


class Record:
    def __init__(self, raw, name, size, attr, content=b""):
        self.raw, self.name, self.size, self.attr, self.content = raw, name, size, attr, content


def split_stream(data):
    """The headers of a folder stream, each with the bytes that follow a file header."""
    records = []
    pos = 0
    while pos < len(data):
        length = int(data[pos:pos + 4], 16)
        raw = data[pos:pos + length]
        if len(raw) != length or not raw.endswith(b":"):
            raise AssertionError("a broken header at byte %d: %r" % (pos, data[pos:pos + 80]))
        name, size, attr = raw[5:].split(b":")[:3]
        size, attr = int(size, 16), int(attr)
        pos += length
        content = b""
        if attr == 1:
            content = data[pos:pos + size]
            if len(content) != size:
                raise AssertionError("%r: %d of %d bytes" % (name, len(content), size))
            pos += size
        records.append(Record(raw, name, size, attr, content))
    return records


def check_folder_stream(test, data, path, name):
    """Compares a received folder stream with the tree at path, byte for byte: every header and
    every file's content. Sub-folders must come before the files of their folder; the order of
    siblings is the file system's listing order, which the test takes from the stream."""
    records = split_stream(data)
    position = check_folder(test, records, 0, path, name.encode("gbk"))
    test.assertEqual(position, len(records), "records after the end of the top folder")


def check_folder(test, records, i, path, name):
    test.assertLess(i, len(records), "the stream ends before folder %r" % name)
    test.assertEqual(records[i].raw, header(name, 0, 2))
    i += 1
    entries = sorted(os.listdir(path))
    # Links to folders are left out of a stream: they may lead back into the tree.
    folders = {e.encode("gbk") for e in entries
               if os.path.isdir(os.path.join(path, e)) and not os.path.islink(os.path.join(path, e))}
    # Links to files too: they may lead out of it.
    files = {e.encode("gbk") for e in entries
             if not os.path.isdir(os.path.join(path, e)) and not os.path.islink(os.path.join(path, e))}
    seen_folders, seen_files = set(), set()
    while i < len(records) and records[i].attr != 3:
        record = records[i]
        if record.attr == 2:
            test.assertFalse(seen_files, "folder %r after the files of %r" % (record.name, name))
            test.assertIn(record.name, folders - seen_folders)
            seen_folders.add(record.name)
            i = check_folder(test, records, i, os.path.join(path, record.name.decode("gbk")), record.name)
        else:
            test.assertIn(record.name, files - seen_files)
            seen_files.add(record.name)
            with open(os.path.join(path, record.name.decode("gbk")), "rb") as f:
                content = f.read()
            test.assertEqual(record.raw, header(record.name, len(content), 1))
            test.assertEqual(record.content, content, "content of %r" % record.name)
            i += 1
    test.assertEqual(seen_folders, folders, "sub-folders of %r" % name)
    test.assertEqual(seen_files, files, "files of %r" % name)
    test.assertLess(i, len(records), "no return-to-parent header for %r" % name)
    test.assertEqual(records[i].raw, header(".", 0, 3))
    return i + 1


def make_folder_stream(path, name):
    """The folder stream of the tree at path, announced as name, as a serving peer writes it:
    the folder's header, its sub-folders' streams, its files (header and content), and a
    return-to-parent header."""
    parts = [header(name, 0, 2)]
    entries = sorted(os.listdir(path))
    for entry in entries:
        if os.path.isdir(os.path.join(path, entry)):
            parts.append(make_folder_stream(os.path.join(path, entry), entry))
    for entry in entries:
        full = os.path.join(path, entry)
        if not os.path.isdir(full):
            with open(full, "rb") as f:
                content = f.read()
            parts.append(header(entry, len(content), 1) + content)
    parts.append(header(".", 0, 3))
    return b"".join(parts)
