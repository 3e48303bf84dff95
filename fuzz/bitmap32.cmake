# The bitmap library's stream reader.
harbek_fuzz(fuzz_bitmap32_data SOURCES fuzz_bitmap32_data.cpp LIBS harbek_bitmap32 SECONDS 20)
