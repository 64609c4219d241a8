#!/usr/bin/env python3
"""Writes the binary seed inputs of fuzz/corpus/ in the fuzzers' input layouts.

Each fuzzer's source describes its layout. Run it after changing a layout;
the files it writes are committed. The scene_file seeds are JSON text kept by
hand beside them.
"""
import math
import pathlib
import struct

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"
NAN = float("nan")
INF = float("inf")


def doubles(*values):
    return struct.pack(f"<{len(values)}d", *values)


def floats(*values):
    return struct.pack(f"<{len(values)}f", *values)


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def scene_data(flags=0, failing_creates=0, failing_load=0, cut=255, answer=0, failing_save=0,
               before=(2.6217, 0.0, 0.0, 0.0, 0.0), saved=(2.6217, 0.5, -0.25, 0.3, 0.1), stream=()):
    # failing block bytes: value % 7 - 1, so 0 is "none"
    head = struct.pack("<BHBBiB", flags, failing_creates, failing_load, cut, answer, failing_save)
    return head + doubles(*before) + doubles(*saved) + floats(*stream)


def blocks_then(*settings):
    """Five parameter blocks (index, value) as the test host writes them, then the settings."""
    body = []
    for index, value in enumerate(settings):
        body += [float(index), value]
    return tuple(body) + tuple(settings)


GOOD = blocks_then(3.2, 0.1, -0.2, 1.0, 0.25)
write("scene_data", "whole_stream", scene_data(stream=GOOD))
write("scene_data", "cut_in_the_settings", scene_data(cut=12, stream=GOOD))
write("scene_data", "reader_claims_five_of_two", scene_data(flags=2, cut=12, answer=5, stream=GOOD))
write("scene_data", "third_block_fails", scene_data(failing_load=3, stream=GOOD))
write("scene_data", "not_finite_floats",
      scene_data(stream=blocks_then(NAN, INF, -INF, -0.0, 1e-45),
                 saved=(1e300, -1e-300, NAN, -INF, 3.4028235677973366e38)))
write("scene_data", "parameters_missing", scene_data(failing_creates=0b1111100001, stream=GOOD))
write("scene_data", "save_fails", scene_data(failing_save=2, stream=GOOD))


def frame_rays(flags=0, steps=1, start=0.0, duration=1 / 48, values=(2.0, 0.5, 0.25, 0.0, 0.0),
               rates=(0.0,) * 5, film=(0.03, 0.02), position=(10.0, 1.0, -3.0), velocity=(0.0, 0.0, 0.0),
               right=(1.0, 0.0, 0.0), up=(0.0, 1.0, 0.0), forward=(0.0, 0.0, 1.0), focus=2.0, focus_rate=0.0,
               f_stop=4.0, preview=(0.0, 0.0), rays=()):
    data = struct.pack("<Bi", flags, steps) + doubles(start, duration, *values, *rates, *film, *position,
                                                      *velocity, *right, *up, *forward, focus, focus_rate,
                                                      f_stop, *preview)
    for ray in rays:
        data += doubles(*ray)
    return data


RAYS = ((0.0, 0.0, 0.0, 0.0, 0.0), (-0.015, -0.005, 0.5, -1.0, 0.2499), (0.01, 0.0, 1.0, 1.0, 0.25),
        (0.0, 0.0, 0.0, 0.0, 0.999), (0.0, 0.0, 0.0, 0.0, 1.0))
write("frame_rays", "worked_case", frame_rays(rays=RAYS))
write("frame_rays", "tilted_moving", frame_rays(steps=3, values=(2.0, 0.5, 0.25, math.pi / 2, 0.3),
                                                rates=(1.0, 0.0, 0.0, 0.5, 0.2), velocity=(1.0, 0.0, 2.0),
                                                rays=RAYS))
write("frame_rays", "still_frame", frame_rays(steps=0, rays=RAYS))
write("frame_rays", "zero_axes_and_stop",
      frame_rays(right=(0.0, 0.0, 0.0), forward=(0.0, 0.0, 0.0), f_stop=0.0, values=(0.0, 0.0, 0.0, 0.0, 1.0),
                 rays=RAYS))
write("frame_rays", "not_finite", frame_rays(start=NAN, duration=INF, values=(INF, NAN, -INF, NAN, NAN),
                                             up=(1e308, 1e308, 1e308), rays=((NAN, INF, -INF, 1e308, NAN),
                                                                             (0.0, 0.0, 0.0, 0.0, -INF))))
write("frame_rays", "steps_refused", frame_rays(steps=-1, rays=RAYS))
write("frame_rays", "allocation_fails", frame_rays(flags=1, rays=RAYS))


def panel(flags=1, zoom=2.0, zoom_rate=0.0, time=0.0, film_height=0.036, tilt=math.pi / 8, direction=0.0,
          operations=()):
    data = struct.pack("<B", flags) + doubles(zoom, zoom_rate, time, film_height, tilt, direction)
    for kind, id_, value in operations:
        data += struct.pack("<BId", kind, id_, value)
    return data


GET, SET, DRAW = 0, 1, 2
write("panel", "focal_length_and_diagram",
      panel(operations=((GET, 0x8002, 0.0), (DRAW, 0x8007, 0.0), (SET, 0x8006, 0.5), (DRAW, 0x8007, 0.0),
                        (GET, 0x8001, 0.0), (SET, 0x8002, 1.0), (GET, 0x8007, 0.0))))
write("panel", "every_id", panel(operations=tuple((kind, 0x8000 + i, 0.25) for i in range(13) for kind in (GET, SET))))
write("panel", "huge_focal_length", panel(zoom=1e300, film_height=1e10, operations=((GET, 0x8002, 0.0),)))
write("panel", "not_finite_tilt",
      panel(flags=0, tilt=NAN, direction=INF, operations=((DRAW, 0, 0.0), (SET, 0x8006, -math.pi / 2),
                                                          (SET, 0x8005, math.pi), (DRAW, 0, 0.0))))
write("panel", "no_instance_attached", panel(flags=2, operations=((DRAW, 0, 0.0),)))


def words(*values):
    return struct.pack(f"<{len(values)}Q", *values)


GROUP, LABEL, CALLBACK, CALLBACK2 = 0x3D01FE81, 0x3D000B03, 0x3D000F01, 0x3D001302
MINIMUM, MAXIMUM, STEP, DRAW_FUNCTION = 0x3D014002, 0x3D014102, 0x3D014202, 0x3D016502
TEXT, FUNCTION = 0x555500001000, 0x555500002000  # pointers stand in as plain numbers
CAMERA_HINTS = (
    GROUP, 0x8008, 0x8001, 0x8002, 0,
    GROUP, 0x8009, 0x8003, 0x8004, 0,
    GROUP, 0x800A, 0x8005, 0x8006, 0,
    GROUP, 0x800B, 0x8007, 0,
    LABEL, 0, TEXT, 0,
    CALLBACK, FUNCTION,
    CALLBACK2, FUNCTION, 0,
    MINIMUM, 0x8001, 0,
    STEP, 0x8001, 1,
    MINIMUM, 0x8003, (-1000) & 0xFFFFFFFFFFFFFFFF,
    MAXIMUM, 0x8003, 1000,
    MINIMUM, 0x8004, (-1000) & 0xFFFFFFFFFFFFFFFF,
    MAXIMUM, 0x8004, 1000,
    MINIMUM, 0x8005, (-360) & 0xFFFFFFFFFFFFFFFF,
    MAXIMUM, 0x8005, 360,
    MINIMUM, 0x8006, (-90) & 0xFFFFFFFFFFFFFFFF,
    MAXIMUM, 0x8006, 90,
    DRAW_FUNCTION, 0x8007, FUNCTION,
    0,
)
assert len(CAMERA_HINTS) == 62
write("hints", "camera_panel", words(*CAMERA_HINTS))
write("hints", "unknown_tag_with_id_list", words(0x12345682, 7, 8, 0x8001, 0x8002, 0, 0))
write("hints", "no_end_tag", words(*CAMERA_HINTS[:-1]))
write("hints", "label_of_a_later_group", words(LABEL, 0x800C, TEXT, 0, GROUP, 0x800C, 0x8001, 0, 0))
