"""Writes the benchmark inputs into the folder given: a 3601 x 3601 float32 terrain matrix
with its header, and 1,000,000 points in zone 13 N for the coordinate conversions, once in
our line format and once in the column order cs2cs reads."""
import math
import random
import struct
import sys
from pathlib import Path

folder = Path(sys.argv[1])
size = 3601

# A smooth ridge so that the grid has a real range; written row by row to bound memory.
with open(folder / "srtm1.bin", "wb") as out:
    for row in range(size):
        values = [1000.0 + 500.0 * math.sin(row / 300.0) * math.cos(c / 400.0) for c in range(size)]
        out.write(struct.pack(f"<{size}f", *values))
(folder / "srtm1.hdr").write_text(
    "file_title = benchmark ridge\n"
    "data_format = float32\n"
    "map_projection = Lat/Lon\n"
    f"number_of_rows = {size}\nnumber_of_columns = {size}\n"
    "left_map_x = -106\nright_map_x = -105\nlower_map_y = 40\nupper_map_y = 41\n"
    "elev_m_missing_flag = -9999\nelev_m_unit = meters\n")

random.seed(7)
geo, geo_cs2cs, utm, utm_cs2cs = [], [], [], []
for _ in range(1_000_000):
    lat = random.uniform(0.5, 80.0)
    lon = random.uniform(-107.9, -102.1)
    easting = random.uniform(300000.0, 700000.0)
    northing = random.uniform(100000.0, 8800000.0)
    geo.append(f"{lat:.7f} {lon:.7f}")
    geo_cs2cs.append(f"{lon:.7f} {lat:.7f}")
    utm.append(f"{easting:.3f} {northing:.3f} 13N")
    utm_cs2cs.append(f"{easting:.3f} {northing:.3f}")
for name, lines in (("geo_points.txt", geo), ("geo_points_cs2cs.txt", geo_cs2cs),
                    ("utm_points.txt", utm), ("utm_points_cs2cs.txt", utm_cs2cs)):
    (folder / name).write_text("\n".join(lines) + "\n")
