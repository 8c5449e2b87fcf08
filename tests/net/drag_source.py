"""An X client that offers files by drag and drop, as a file manager does: a small GTK window at a
given place whose button is a drag source of the given paths as text/uri-list (XDND).

    /usr/bin/python3 drag_source.py X Y PATH...

It says "ready" on its standard output once the window is shown and "done" when a drag has ended
(the target has taken the data, or the drag failed), and runs until ended. It needs
the system's python3 with python3-gi and gir1.2-gtk-3.0."""

import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

TITLE = "ZQ drag source"


def main():
    x, y, paths = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
    uris = [GLib.filename_to_uri(path, None) for path in paths]

    window = Gtk.Window(title=TITLE)
    window.set_default_size(120, 60)
    window.move(x, y)
    button = Gtk.Button(label="drag me")
    button.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
    button.drag_source_add_uri_targets()
    button.connect("drag-data-get", lambda widget, context, data, info, time: data.set_uris(uris))
    button.connect("drag-end", lambda widget, context: print("done", flush=True))
    window.add(button)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()

    def say_ready():
        print("ready", flush=True)
        return False

    GLib.idle_add(say_ready)
    Gtk.main()


if __name__ == "__main__":
    main()
