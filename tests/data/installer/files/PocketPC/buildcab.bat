"/opt/varn/CabWiz.exe" ".\Demo.inf" /err err.log /cpu PPC3_SH3 PPC3_MIPS PPC3_ARM

