# The recorder's wire and file formats: command packets, A/V frames as they arrive, side data, and the
# command connection's packets and the files announced on it.
harbek_fuzz(fuzz_netpacket SOURCES fuzz_netpacket.cpp LIBS harbek_formats SECONDS 20)
harbek_fuzz(fuzz_avframe SOURCES fuzz_avframe.cpp LIBS harbek_formats)
harbek_fuzz(fuzz_sidedata SOURCES fuzz_sidedata.cpp LIBS harbek_formats SECONDS 15)
harbek_fuzz(fuzz_command_receiver SOURCES fuzz_command_receiver.cpp LIBS harbek_formats harbek_fuzz_support)
# The client's setup.ini as the main window reads and saves it.
harbek_fuzz(fuzz_setup_ini SOURCES fuzz_setup_ini.cpp LIBS harbek_formats harbek_fuzz_support SECONDS 10
            MAX_LEN 4096)
