# The vector map's mesh file reader.
harbek_fuzz(fuzz_bitmap32_mesh SOURCES fuzz_bitmap32_mesh.cpp LIBS harbek_bitmap32 SECONDS 20)
