*A, first
;%TYPE=MODEL
0,0,0,0,1
;; between
*B
45,0,0,0,2
