# The skin descriptions skingen draws the skin bitmaps from.
harbek_fuzz(fuzz_skin SOURCES fuzz_skin.cpp LIBS harbek_skingen harbek_fuzz_support)
