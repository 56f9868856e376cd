10 A%=B+2*C
20 Y#=2^3/(1+N%)
30 Z=NOT 7\2>1 AND A$<B$
