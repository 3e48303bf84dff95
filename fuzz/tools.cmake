# The skin descriptions skingen draws the skin bitmaps from (files of this tree, the least exposed input).
harbek_fuzz(fuzz_skin SOURCES fuzz_skin.cpp LIBS harbek_skingen harbek_fuzz_support SECONDS 20)
