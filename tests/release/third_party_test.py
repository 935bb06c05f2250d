"""scripts/third-party.py on made-up copyright files and maps: which stanza covers a file, what a map
counts, and that a linked object no stanza covers stops the notices with its name."""
import importlib.util
import os
import sys
import tempfile
import unittest
from unittest import mock

script = importlib.util.spec_from_file_location(
    "third_party", os.path.join(os.path.dirname(__file__), "../../scripts/third-party.py"))
tp = importlib.util.module_from_spec(script)
script.loader.exec_module(tp)

COPYRIGHT = """Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: runtime

Files: *
Copyright: 2009 the runtime project
License: ZPL-2.1
 Zope terms.
 .
 Disclaimer.

Files: crt/math/x86/ceil*.S
       crt/misc/*
Copyright: public-domain
License: public-domain

Files: crt/gdtoa/*
       crt/stdio/pformat.c
Copyright: 1998 Lucent
License: Lucent
 Lucent terms.

Files: crt/stdio/pformat.?
Copyright: Keith Marshall
License: Keith-Marshall and expat

Files: tools/*
Copyright: 2010 someone
License: GPL-3+
 On Debian systems the full text is in `/usr/share/common-licenses/GPL-3'.

License: public-domain
 No copyright.

License: expat
 MIT terms.
"""

MAP = """Discarded input sections
 .text          0x0000000000000000       0x40 /usr/lib/x/libfoo.a(gone.o)
Linker script and memory map
.text           0x0000000140001000     0x1000
 .text          0x0000000140001000      0x20 /usr/lib/x/libfoo.a(a.o)
 .text.startup_long_name
                0x0000000140001020      0x10 /usr/lib/x/libfoo.a(a.o)
 .text          0x0000000140001030       0x8 own.obj
.bss            0x0000000140002000      0x100
 .bss           0x0000000140002000      0x100 /usr/lib/x/libfoo.a(b.o)
.debug_info     0x0000000140003000      0x500
 .debug_info    0x0000000140003000      0x500 /usr/lib/x/libfoo.a(a.o)
"""


class ThirdParty(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        path = os.path.join(self.folder.name, "copyright")
        with open(path, "w") as f:
            f.write(COPYRIGHT)
        self.copyright = tp.CopyrightFile(path)

    def tearDown(self):
        self.folder.cleanup()

    def test_the_last_stanza_that_matches_a_file_covers_it(self):
        for path, licence in [("crt/crt/start.c", "ZPL-2.1"), ("crt/misc/dirname.c", "public-domain"),
                              ("crt/math/x86/ceilf.S", "public-domain"), ("crt/math/floor.S", "ZPL-2.1"),
                              ("crt/gdtoa/gdtoa.c", "Lucent"), ("crt/stdio/pformat.c", "Keith-Marshall and expat"),
                              ("crt/stdio/pformat.cc", "ZPL-2.1"), ("tools/gen.c", "GPL-3+")]:
            self.assertEqual(self.copyright.stanza(path)["license"], licence, path)

    def test_a_file_without_its_folder_counts_every_stanza_that_may_cover_it_under_its_root(self):
        for name, licences in [("ceil.S", ["ZPL-2.1", "public-domain", "Lucent"]),
                               ("pformat.c", ["ZPL-2.1", "public-domain", "Lucent", "Keith-Marshall and expat"])]:
            self.assertEqual([s["license"] for s in self.copyright.stanzas_of_name(name, "crt")], licences, name)

    def test_licence_texts_come_from_the_stanza_the_licence_paragraphs_or_debians_common_licences(self):
        text = lambda path: self.copyright.license_text(self.copyright.stanza(path))
        self.assertEqual(text("crt/crt/start.c"), ["Zope terms.", "", "Disclaimer."])
        self.assertEqual(text("crt/misc/dirname.c"), ["No copyright."])
        self.assertEqual(text("tools/gen.c")[:2], ["                    GNU GENERAL PUBLIC LICENSE",
                                                   "                       Version 3, 29 June 2007"])
        with self.assertRaisesRegex(tp.Stop, "names the licence Keith-Marshall but gives no text"):
            text("crt/stdio/pformat.c")

    def test_the_map_counts_the_image_bytes_of_each_input(self):
        path = os.path.join(self.folder.name, "annuvia.map")
        with open(path, "w") as f:
            f.write(MAP)
        self.assertEqual(tp.map_inputs(path), {"/usr/lib/x/libfoo.a(a.o)": 0x30, "own.obj": 8})

    def test_a_linked_object_that_no_stanza_covers_stops_with_its_name(self):
        found = {"elsewhere.o": {"source": "/build/docs/elsewhere.c", "sections": set()}}
        with mock.patch.object(tp, "map_inputs", lambda _: {"/bin/sh(elsewhere.o)": 16}), \
                mock.patch.object(tp, "owner", lambda _: ("runtime", "1", "all")), \
                mock.patch.object(tp, "copyright_file", lambda _: self.copyright), \
                mock.patch.object(tp, "objdump_members", lambda *_: found):
            with self.assertRaisesRegex(tp.Stop, r"covers /bin/sh\(elsewhere.o\) \(source /build/docs/elsewhere.c\)"):
                tp.linked_parts("annuvia.map", self.folder.name, "/nonexistent", "objdump", "win64")


if __name__ == "__main__":
    sys.exit(unittest.main())
