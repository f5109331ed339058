"""Tests of the Python module zorbel: creation, members, collections, values, records,
events, the message queue, message boxes, errors and object lifetime."""

import atexit
import ctypes
import os
import shutil
import sys
import tempfile
import threading
import unittest

# The toolkit keeps its registry, temporary files and home below a root of this test's own.
_ROOT = tempfile.mkdtemp(prefix="zorbel-python-test-")
atexit.register(shutil.rmtree, _ROOT, True)
for _name in ("ZORBEL_ROOT", "TMPDIR", "HOME"):
    os.environ[_name] = _ROOT
os.environ["XDG_DATA_HOME"] = os.path.join(_ROOT, "data")

import zorbel  # noqa: E402  (after the environment is set)

VOICE_USERS_CLSID = "{1A1E168F-4C11-11D2-9958-00C026580632}"


def error_number(call, *args, **kwargs):
    try:
        call(*args, **kwargs)
    except zorbel.Error as e:
        return e.number
    return None


class CaptureExcepthook:
    """Collects what would be reported as uncaught exceptions."""

    def __enter__(self):
        self.reported = []
        self._saved = sys.excepthook
        sys.excepthook = lambda kind, value, trace: self.reported.append(value)
        return self

    def __exit__(self, *exc):
        sys.excepthook = self._saved


class CreationTest(unittest.TestCase):
    def test_creatable_classes_by_program_identifier(self):
        for name in ("VoiceUsers", "VoiceSets", "Voices", "ToolsC"):
            with self.subTest(name=name):
                obj = zorbel.CreateObject("ZorbelKit." + name)
                self.assertIn("zorbel." + name + " ", repr(obj))

    def test_by_class_identifier_text(self):
        users = zorbel.CreateObject(VOICE_USERS_CLSID.lower())
        self.assertIn("VoiceUsers", repr(users))
        self.assertEqual(len(users), 0)

    def test_classes_that_cannot_be_created_raise_429(self):
        for name in ("ZorbelKit.Voice", "ZorbelKit.NoSuchClass", "Nobody.Else",
                     "{00000000-1111-2222-3333-444444444444}", "{not-a-guid}"):
            with self.subTest(name=name):
                self.assertEqual(error_number(zorbel.CreateObject, name), 429)

    def test_tools_c_is_one_global_object_per_thread(self):
        main = zorbel.ToolsC
        self.assertTrue(main.TestToolsC())
        self.assertEqual(main, zorbel.ToolsC)
        self.assertNotEqual(main, zorbel.CreateObject("ZorbelKit.ToolsC"))
        seen = {}

        def other_thread():
            seen["same"] = zorbel.ToolsC == zorbel.ToolsC
            seen["shared"] = zorbel.ToolsC == main

        worker = threading.Thread(target=other_thread)
        worker.start()
        worker.join()
        self.assertEqual(seen, {"same": True, "shared": False})
        with self.assertRaises(AttributeError):
            zorbel.VoiceUsers  # not a global class


class CollectionTest(unittest.TestCase):
    def setUp(self):
        self.users = zorbel.CreateObject("ZorbelKit.VoiceUsers")

    def add_users(self, *names):
        for name in names:
            self.users.Add().UserName = name

    def test_empty_collection(self):
        self.assertEqual(len(self.users), 0)
        self.assertEqual(list(self.users), [])
        self.assertTrue(self.users)  # an object is true even when it holds nothing

    def test_walk_count_and_index(self):
        self.add_users("Ada", "Bob", "Cy")
        self.assertEqual(len(self.users), 3)
        self.assertEqual([u.UserName for u in self.users], ["Ada", "Bob", "Cy"])
        self.assertEqual(self.users[2].UserName, "Bob")
        self.assertIn(self.users[3], self.users)
        self.users.Remove(1)
        self.assertEqual([u.UserName for u in self.users], ["Bob", "Cy"])

    def test_by_reference_item_returns_the_final_argument(self):
        self.add_users("Ada", "Bob")
        for call in (lambda: self.users.Item(2), lambda: self.users.Item(vntIndexKey=2),
                     lambda: zorbel.invoke(self.users, "Item", "get", 2)):
            with self.subTest():
                user, index = call()
                self.assertEqual(user.UserName, "Bob")
                self.assertEqual(index, 2)
        # Indexing gives the item alone.
        self.assertEqual(self.users[2], self.users.Item(2)[0])

    def test_bad_position_raises_9_with_its_source(self):
        with self.assertRaises(zorbel.Error) as caught:
            self.users.Item(5)
        error = caught.exception
        self.assertEqual((error.number, error.source), (9, "Zorbel"))
        self.assertEqual(error.description, "Subscript out of range")
        self.assertIn("9", str(error))
        self.assertIn("Subscript out of range", str(error))
        self.assertEqual(error_number(lambda: self.users[1]), 9)

    def test_library_collection_object(self):
        genres = zorbel.ToolsC.GetID3GenreList()
        names = list(genres)
        self.assertEqual(len(genres), len(names))
        self.assertEqual(genres[1], names[0])
        self.assertTrue(all(isinstance(n, str) for n in names))

    def test_objects_that_are_no_collection(self):
        source = zorbel._make_test_event_source()
        with self.assertRaises(TypeError):
            len(source)
        with self.assertRaises(TypeError):
            iter(source)


class MemberTest(unittest.TestCase):
    def setUp(self):
        self.obj = zorbel._make_test_event_source()

    def test_properties_are_attributes(self):
        obj = self.obj
        obj.Label = "text"
        self.assertEqual(obj.Label, "text")
        obj.Label = 12  # let converts to the property's type
        self.assertEqual(obj.Label, "12")
        obj.Flag = True
        self.assertIs(obj.Flag, True)
        child = zorbel.CreateObject("ZorbelKit.Voices")
        obj.Child = child  # an object is set
        self.assertEqual(obj.Child, child)
        obj.Child = None
        self.assertIsNone(obj.Child)
        with self.assertRaises(AttributeError):
            obj.NoSuchMember
        with self.assertRaises(AttributeError):
            obj.NoSuchMember = 1
        self.assertTrue({"Label", "Fire", "Cell", "Join"} <= set(dir(obj)))

    def test_optional_and_keyword_arguments(self):
        cases = [
            ((("a",), {}), "a-two"),
            ((("a", "b"), {}), "a-b"),
            ((("a",), {"separator": "+"}), "a+two"),
            ((("a", zorbel.missing, "/"), {}), "a/two"),
            (((), {"FIRST": "x", "second": "y"}), "x-y"),
        ]
        for (args, kwargs), expected in cases:
            with self.subTest(args=args, kwargs=kwargs):
                self.assertEqual(self.obj.Join(*args, **kwargs), expected)

    def test_bad_argument_lists(self):
        cases = [
            (lambda: self.obj.Join("a", colour=1), 448),
            (lambda: self.obj.Join(), 449),
            (lambda: self.obj.Join("a", "b", "c", "d"), 450),
            (lambda: self.obj.Bump("many"), 13),
        ]
        for call, number in cases:
            with self.subTest(number=number):
                self.assertEqual(error_number(call), number)
        with self.assertRaises(TypeError):
            self.obj.Join("a", first="b")

    def test_by_reference_parameters_return_a_tuple(self):
        self.assertEqual(self.obj.Bump(5), (5, 6))
        self.assertEqual(self.obj.Bump(5, step=-2), (5, 3))
        self.assertEqual(self.obj.Swap("x", 4), (None, "4x", -4))
        # A left-out by-reference argument has no final value.
        self.assertEqual(self.obj.Bump(value=1), (1, 2))

    def test_properties_with_parameters(self):
        cell = self.obj.Cell
        cell[1, 2] = 7
        self.assertEqual(self.obj.Cell(1, 2), 7)
        self.assertEqual(cell[1, 2], 7)
        self.assertEqual(self.obj.Cell(y=2, x=1), 7)
        self.assertEqual(error_number(lambda: self.obj.Cell(9, 0)), 9)
        self.assertIn("Cell", repr(cell))

    def test_invoke_with_every_kind(self):
        obj = self.obj
        zorbel.invoke(obj, "Label", "let", "via invoke")
        self.assertEqual(zorbel.invoke(obj, "label", "get"), "via invoke")
        zorbel.invoke(obj, "Cell", "let", 3, 3, 9)
        self.assertEqual(zorbel.invoke(obj, "Cell", "get", 3, 3), 9)
        zorbel.invoke(obj, "Child", "set", obj)
        self.assertEqual(obj.Child, obj)
        zorbel.invoke(obj, "Child", "set", None)
        self.assertIsNone(obj.Child)
        self.assertEqual(zorbel.invoke(obj, "Bump", "method", 1, 10), (1, 11))
        self.assertEqual(error_number(zorbel.invoke, obj, "Nothing", "get"), 438)
        with self.assertRaises(ValueError):
            zorbel.invoke(obj, "Label", "put", 1)
        with self.assertRaises(TypeError):
            zorbel.invoke("not an object", "Label", "get")

    def test_raised_errors_carry_number_description_and_source(self):
        user_error = -2147221504 + 0x1E9B
        with self.assertRaises(zorbel.Error) as caught:
            self.obj.Fail(user_error, "It failed")
        error = caught.exception
        self.assertEqual((error.number, error.description, error.source), (user_error, "It failed", "Zorbel.Test"))
        self.assertIn("0x80041E9B", str(error))
        self.assertIn("It failed", str(error))

    def test_wrappers_compare_by_object_identity(self):
        users = zorbel.CreateObject("ZorbelKit.VoiceUsers")
        user = users.Add()
        self.assertEqual(users[1], user)
        self.assertEqual(hash(users[1]), hash(user))
        self.assertNotEqual(user, users)
        self.assertNotEqual(user, "user")
        self.assertEqual(len({users[1], user, users}), 2)


class ValueTest(unittest.TestCase):
    def setUp(self):
        self.obj = zorbel._make_test_event_source()

    def test_round_trip_through_a_variant(self):
        cases = [
            (True, True), (False, False), (0, 0), (-5, -5), (2**31 - 1, 2**31 - 1),
            (2**31, float(2**31)), (1.5, 1.5), ("", ""), ("Grüße €", "Grüße €"), (None, None),
            ([1, [2, "x"]], [1, [2, "x"]]), ((1, 2), [1, 2]), (b"\x00\xff", b"\x00\xff"),
        ]
        for given, expected in cases:
            with self.subTest(given=given):
                result = self.obj.Echo(given)
                self.assertEqual(result, expected)
                self.assertIs(type(result), type(expected))

    def test_booleans_enter_as_minus_one_and_zero(self):
        self.obj.Cell[0, 0] = True
        self.obj.Cell[0, 1] = False
        self.assertEqual((self.obj.Cell(0, 0), self.obj.Cell(0, 1)), (-1, 0))

    def test_values_without_a_library_form(self):
        with self.assertRaises(TypeError):
            self.obj.Echo({"a": 1})
        self.assertEqual(error_number(self.obj.Echo, 10**400), 6)

    def test_enumeration_members(self):
        self.assertEqual((zorbel.sftMP3, zorbel.sftModule), (1, 2))

    def test_records(self):
        Record = zorbel._TestRecord
        self.assertEqual(Record._fields, ("Name", "Count", "Ratio", "Flag"))
        empty = Record()
        self.assertEqual((empty.Name, empty.Count, empty.Ratio, empty.Flag), ("", 0, 0.0, False))
        record = Record("a", Flag=True)
        record.Count = "7"  # fields take the library's conversions
        self.assertEqual((record.Name, record.Count, record.Flag), ("a", 7, True))
        self.assertEqual(record, Record("a", 7, 0, True))
        self.assertNotEqual(record, Record("b"))
        self.assertEqual(error_number(setattr, record, "Count", "seven"), 13)
        with self.assertRaises(AttributeError):
            record.Missing = 1
        with self.assertRaises(TypeError):
            Record(1, 2, 3, 4, 5)
        self.assertIn("Name='a'", repr(record))

    def test_records_by_value_and_by_reference(self):
        made = self.obj.MakeRecord("song", count=2)
        self.assertIsInstance(made, zorbel._TestRecord)
        self.assertEqual((made.Name, made.Count), ("song", 2))
        copy = self.obj.Echo(made)
        self.assertEqual(copy, made)
        copy.Name = "changed"
        self.assertEqual(made.Name, "song")
        result, stamped = self.obj.Stamp(made)
        self.assertIsNone(result)
        self.assertEqual((stamped.Name, stamped.Count), ("song*", 3))
        self.assertEqual(made, stamped)  # the passed record was updated in place


class EventTest(unittest.TestCase):
    def setUp(self):
        self.obj = zorbel._make_test_event_source()

    def test_connect_and_disconnect(self):
        first, second = [], []
        one = zorbel.connect(self.obj, "Tick", first.append)
        two = zorbel.connect(self.obj, "tick", lambda value: second.append(value * 10))
        self.obj.Fire(3)
        self.assertTrue(zorbel.disconnect(one))
        self.assertFalse(zorbel.disconnect(one))
        self.assertFalse(one.connected)
        self.obj.Fire(4)
        self.assertEqual((first, second), ([3], [30, 40]))
        with two:
            pass
        self.obj.Fire(5)
        self.assertEqual(second, [30, 40])

    def test_unknown_events(self):
        self.assertEqual(error_number(zorbel.connect, self.obj, "Tock", print), 438)
        users = zorbel.CreateObject("ZorbelKit.VoiceUsers")
        self.assertEqual(error_number(zorbel.connect, users, "Tick", print), 438)
        with self.assertRaises(TypeError):
            zorbel.connect(self.obj, "Tick", "not callable")

    def test_a_failing_handler_is_reported_and_the_object_carries_on(self):
        seen = []

        def failing(value):
            raise RuntimeError("handler failed on %d" % value)

        with CaptureExcepthook() as hook:
            bad = zorbel.connect(self.obj, "Tick", failing)
            good = zorbel.connect(self.obj, "Tick", seen.append)
            self.obj.Fire(1)
            self.obj.Fire(2)
        bad.disconnect()
        good.disconnect()
        self.assertEqual(seen, [1, 2])
        self.assertEqual([str(e) for e in hook.reported], ["handler failed on 1", "handler failed on 2"])

    def test_timer_ticks_arrive_while_waiting(self):
        ticks = []
        with zorbel.connect(self.obj, "Tick", ticks.append):
            self.obj.StartTimer(5, 3)
            self.assertEqual(ticks, [])  # nothing runs until the queue is pumped
            for _ in range(100):
                zorbel.wait(0.02)
                if len(ticks) == 3:
                    break
            zorbel.wait(0.05)  # the timer stopped after three ticks
        self.assertEqual(ticks, [1, 2, 3])

    def test_pump_runs_a_due_timer_once(self):
        ticks = []
        with zorbel.connect(self.obj, "Tick", ticks.append):
            self.obj.StartTimer(0, 1)
            self.assertGreaterEqual(zorbel.pump(), 1)
        self.assertEqual(ticks, [1])
        with self.assertRaises(ValueError):
            zorbel.wait(-1)


class MessageBoxTest(unittest.TestCase):
    MB_YESNO_DEFBUTTON2 = 0x4 | 0x100

    def setUp(self):
        self.obj = zorbel._make_test_event_source()
        self.addCleanup(zorbel.set_message_box_hook, None)

    def test_the_hook_sees_and_answers_every_box(self):
        boxes = []

        def hook(text, caption, style):
            boxes.append((text, caption, style))
            return zorbel.IDYES

        zorbel.set_message_box_hook(hook)
        self.assertEqual(self.obj.ShowMessage("Continue?", "Ask", self.MB_YESNO_DEFBUTTON2), zorbel.IDYES)
        self.assertEqual(self.obj.ShowMessage("Ü"), zorbel.IDYES)
        self.assertEqual(boxes, [("Continue?", "Ask", self.MB_YESNO_DEFBUTTON2), ("Ü", "Zorbel", 0)])

    def test_default_answers(self):
        cases = [
            ("answers None", lambda *box: None),
            ("raises", lambda *box: 1 / 0),
            ("answers no number", lambda *box: "yes"),
        ]
        for name, hook in cases:
            with self.subTest(hook=name), CaptureExcepthook():
                zorbel.set_message_box_hook(hook)
                self.assertEqual(self.obj.ShowMessage("q", "c", self.MB_YESNO_DEFBUTTON2), zorbel.IDNO)
        zorbel.set_message_box_hook(None)
        self.assertEqual(self.obj.ShowMessage("Written to standard error", "Test", 0), zorbel.IDOK)
        with self.assertRaises(TypeError):
            zorbel.set_message_box_hook(42)


class ImageProcessingTest(unittest.TestCase):
    def image(self, width, height):
        image = zorbel.CreateObject("ZorbelKit.DIBSection")
        self.assertTrue(image.Create(width, height))
        return image

    def pixels(self, image):
        return ctypes.string_at(int(image.DIBSectionBitsPtr), image.BytesPerScanLine * image.Height)

    def test_a_filter_reports_its_progress_through_events(self):
        filters = zorbel.CreateObject("ZorbelKit.ImageProcessingDIB")
        image, buffer = self.image(5, 4), self.image(5, 4)
        image.RandomiseBits(True)
        before = self.pixels(image)
        events = []
        with zorbel.connect(filters, "InitProgress", lambda value: events.append(("InitProgress", value))), \
                zorbel.connect(filters, "Progress", lambda value: events.append(("Progress", value))), \
                zorbel.connect(filters, "Complete", lambda value: events.append(("Complete", value >= 0))):
            filters.filterType = zorbel.eBlur
            result, _, _ = filters.ProcessImage(image, buffer)
        self.assertIs(result, True)
        self.assertEqual(events, [("InitProgress", 9), ("Progress", 3), ("Progress", 6), ("Progress", 9),
                                  ("Complete", True)])
        self.assertEqual((filters.FilterArraySize, filters.FilterWeight), (3, 9))
        # Pixel (1, 1) becomes the mean of its neighbourhood, the border stays.
        after, stride = self.pixels(image), image.BytesPerScanLine
        window = [before[r * stride + 3 * x] for r in range(3) for x in range(3)]
        self.assertEqual(after[stride + 3], sum(window) // 9)
        self.assertEqual(after[:stride], before[:stride])

    def test_a_custom_kernel_and_the_filter_errors(self):
        filters = zorbel.CreateObject("ZorbelKit.ImageProcessingDIB")
        self.assertEqual((zorbel.eCustom, zorbel.eeFilterErrorBase), (13, -2147220200))
        with self.assertRaises(zorbel.Error) as caught:
            filters.FilterArraySize = 4
        self.assertEqual((caught.exception.number, caught.exception.description, caught.exception.source),
                         (-2147220199, "Size must be an odd number", "Zorbel.cImageProcess"))
        self.assertEqual(error_number(setattr, filters, "filterType", 14), -2147220198)
        filters.FilterArraySize = 5
        filters.FilterValue[2, -2] = 3
        self.assertEqual(filters.FilterValue[2, -2], 3)
        self.assertEqual(error_number(lambda: filters.FilterValue[3, 0]), 9)
        filters.filterType = zorbel.eCustom
        image, buffer = self.image(6, 6), self.image(6, 6)
        self.assertEqual(error_number(filters.ProcessImage, image, buffer), 11)  # no weight yet
        filters.FilterWeight = 1
        self.assertEqual(error_number(filters.ProcessImage, image, self.image(5, 6)), 9)  # buffer too small
        self.assertIs(filters.ProcessImage(image, buffer)[0], True)


class LifetimeTest(unittest.TestCase):
    def test_objects_go_with_their_last_python_reference(self):
        base = zorbel._live_objects()
        users = zorbel.CreateObject("ZorbelKit.VoiceUsers")
        users.Add()
        kept = users.Add()
        for _ in users:
            pass
        self.assertEqual(zorbel._live_objects(), base + 3)
        del users
        self.assertEqual(zorbel._live_objects(), base + 1)  # the child is still held
        del kept, _
        self.assertEqual(zorbel._live_objects(), base)

    def test_a_connection_keeps_its_object_until_disconnected(self):
        base = zorbel._live_objects()
        obj = zorbel._make_test_event_source()
        connection = zorbel.connect(obj, "Tick", lambda value: None)
        del obj
        self.assertEqual(zorbel._live_objects(), base + 1)
        connection.disconnect()
        self.assertEqual(zorbel._live_objects(), base)


def write_module(path, title, channels=4, orders=(0, 1, 0)):
    """A small module: a looped square wave on every channel, 16 rows of speed 2 a pattern."""
    header = bytearray(1084)
    header[0:len(title)] = title.encode("cp1252")
    sample = bytes((100 if i % 16 < 8 else 156) for i in range(64))
    header[20:24] = b"wave"
    header[42:44] = (32).to_bytes(2, "big")  # length in words
    header[45] = 64  # volume
    header[48:50] = (32).to_bytes(2, "big")  # loop length
    for s in range(1, 31):
        header[20 + 30 * s + 28:20 + 30 * s + 30] = (1).to_bytes(2, "big")
    header[950] = len(orders)
    header[951] = 127
    header[952:952 + len(orders)] = bytes(orders)
    header[1080:1084] = b"M.K." if channels == 4 else b"%dCHN" % channels
    patterns = bytearray()
    for _ in range(max(orders) + 1):
        rows = bytearray(64 * channels * 4)
        for ch in range(channels):
            rows[ch * 4:ch * 4 + 4] = bytes((0x01, 0xAC, 0x10 | (0xF if ch == 0 else 0), 2 if ch == 0 else 0))
        at = (15 * channels + 1) * 4
        rows[at + 2] = 0x0D  # pattern break
        patterns += rows
    with open(path, "wb") as f:
        f.write(bytes(header) + bytes(patterns) + sample)


class ModuleTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(dir=_ROOT)
        self.path = os.path.join(self.folder, "tune.mod")
        write_module(self.path, "Py Tune", channels=8)

    def test_module_player_plays_and_reports_its_facts(self):
        player = zorbel.CreateObject("ZorbelKit.MODFile")
        self.assertEqual(player.status, -1)
        self.assertFalse(player.Play())
        self.assertTrue(player.OpenFile(self.path))
        self.assertEqual((player.songLength, player.PatternCount, player.ChannelCount, player.InstrumentCount),
                         (3, 2, 8, 31))
        self.assertEqual(player.SongTitle.rstrip("\0"), "Py Tune")
        self.assertEqual(player.Filename, self.path)
        self.assertTrue(player.Play(loopSong=True))
        self.assertEqual(player.status, 2)
        player.volume = 64
        zorbel.wait(0.8)
        self.assertEqual(player.CurrentPosition, 1)
        player.CurrentPosition = 2
        zorbel.wait(0.1)
        self.assertEqual(player.CurrentPosition, 2)
        player.StopPlay()
        self.assertEqual(player.status, 1)
        self.assertNotEqual(player.ConfigSoundSystem(), "")
        player.ShutdownSoundSystem()
        self.assertEqual(player.status, -1)

    def test_song_information_of_a_module(self):
        info = zorbel.CreateObject("ZorbelKit.ExtendedSongInfo")
        self.assertTrue(info.ReadInfo(self.path, 2))
        self.assertEqual((info.Title, info.Channels, info.Patterns, info.Length), ("Py Tune", 8, 2, 3))
        names = list(info.Samples)
        self.assertEqual(len(names), 31)
        self.assertEqual(names[0], "wave" + "\0" * 28)
        with open(os.path.join(self.folder, "no.mod"), "w") as f:
            f.write("no module")
        self.assertFalse(info.ReadInfo(os.path.join(self.folder, "no.mod"), 2))
        self.assertEqual(len(list(info.Samples)), 31)


if __name__ == "__main__":
    unittest.main()
