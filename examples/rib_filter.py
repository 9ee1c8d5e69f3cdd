#!/usr/bin/env python3
"""A RIB filter in Python: reads a scene (ASCII or binary, plain or gzip),
leaves out its displacement shaders, makes every ShadingRate twice as
coarse, and writes the rest as it was read, gzip-compressed when the
output's name ends in .gz.

    python3 rib_filter.py scene.rib preview.rib.gz

A request the reader finds wrong stops the filter with its file and line
(vellum.RibError); read(..., strict=False) would leave it out and go on."""
import sys

import vellum


def main():
    source, destination = sys.argv[1], sys.argv[2]
    compression = "gzip" if destination.endswith(".gz") else "none"
    with vellum.Ri(destination, compression=compression) as ri:
        for request in vellum.read(source):
            if request.name == "Displacement":
                continue
            if request.name == "ShadingRate":
                request.args = (request.args[0] * 2,)
            ri.write(request)


if __name__ == "__main__":
    main()
