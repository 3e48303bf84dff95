# The recorder's wire and file formats: command packets, A/V frames as they arrive, side data.
harbek_fuzz(fuzz_netpacket SOURCES fuzz_netpacket.cpp LIBS harbek_formats)
harbek_fuzz(fuzz_avframe SOURCES fuzz_avframe.cpp LIBS harbek_formats)
harbek_fuzz(fuzz_sidedata SOURCES fuzz_sidedata.cpp LIBS harbek_formats)
